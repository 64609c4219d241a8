#include "workbench/HostSession.h"

#include <algorithm>

#include "workbench/Errors.h"

namespace workbench {

namespace {

HostSession* activeSession = nullptr;

}  // namespace

Vector3 CameraItem::positionAt(double time) const {
    return {position[0].valueAt(time), position[1].valueAt(time), position[2].valueAt(time)};
}

Axes CameraItem::axesAt(double time) const {
    return AxesFromRotation(rotation[0].valueAt(time), rotation[1].valueAt(time), rotation[2].valueAt(time));
}

HostSession::HostSession() {
    if (activeSession != nullptr) throw SessionError("another host session is already active");
    activeSession = this;
}

HostSession::~HostSession() { activeSession = nullptr; }

HostSession& HostSession::active() {
    if (activeSession == nullptr) throw SessionError("no host session is active");
    return *activeSession;
}

HostSession* HostSession::activeOrNull() { return activeSession; }

void HostSession::provideService(std::string name, void* service) {
    withdrawnServices_.erase(name);
    if (service == nullptr) {
        providedServices_.erase(name);
    } else {
        providedServices_[std::move(name)] = service;
    }
}

void HostSession::withdrawService(std::string name) { withdrawnServices_.insert(std::move(name)); }

CameraItem& HostSession::addCamera(std::string name) {
    if (findCamera(name) != nullptr) throw SessionError("the scene already has a camera named \"" + name + "\"");
    auto camera = std::make_unique<CameraItem>();
    camera->name = name;
    camera->channels = &addChannelGroup(std::move(name));
    cameras_.push_back(std::move(camera));
    return *cameras_.back();
}

void HostSession::removeCamera(CameraItem& camera) {
    ChannelGroup* group = camera.channels;
    if (group != nullptr && !group->channels.empty()) {
        throw SessionError("the camera \"" + camera.name + "\" still has channels");
    }
    std::erase_if(groups_, [&](const auto& candidate) { return candidate.get() == group; });
    std::erase_if(cameras_, [&](const auto& candidate) { return candidate.get() == &camera; });
}

CameraItem* HostSession::findCamera(host::ItemId item) const {
    for (const auto& camera : cameras_) {
        if (camera.get() == item) return camera.get();
    }
    return nullptr;
}

CameraItem* HostSession::findCamera(std::string_view name) const {
    for (const auto& camera : cameras_) {
        if (camera->name == name) return camera.get();
    }
    return nullptr;
}

ChannelGroup& HostSession::addChannelGroup(std::string name) {
    groups_.push_back(std::make_unique<ChannelGroup>(ChannelGroup{std::move(name), {}}));
    return *groups_.back();
}

ChannelGroup* HostSession::findChannelGroup(host::ChannelGroupId group) const {
    for (const auto& candidate : groups_) {
        if (candidate.get() == group) return candidate.get();
    }
    return nullptr;
}

ChannelGroup* HostSession::findChannelGroup(std::string_view name) const {
    for (const auto& candidate : groups_) {
        if (candidate->name == name) return candidate.get();
    }
    return nullptr;
}

Parameter& HostSession::createParameter(int type) {
    auto parameter = std::make_unique<Parameter>();
    parameter->type = type;
    Parameter& created = *parameter;
    parameters_.emplace(&created, std::move(parameter));
    return created;
}

void HostSession::destroyParameter(Parameter& parameter) {
    if (parameter.group != nullptr) std::erase(parameter.group->channels, &parameter);
    parameters_.erase(&parameter);
}

Parameter* HostSession::findParameter(host::ParameterHandle handle) const {
    const auto found = parameters_.find(handle);
    return found == parameters_.end() ? nullptr : found->second.get();
}

Parameter* HostSession::findChannel(const ChannelGroup& group, std::string_view channelName) {
    const auto found = std::find_if(group.channels.begin(), group.channels.end(),
                                    [&](const Parameter* channel) { return channel->channelName == channelName; });
    return found == group.channels.end() ? nullptr : *found;
}

}  // namespace workbench
