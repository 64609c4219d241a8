// The services a module reaches through the session's global lookup. The
// module calls them through plain function pointers, and it is built without
// exceptions: nothing may unwind out of these functions, so each one turns a
// failure into a noted fault and a harmless answer.

#include <cstring>
#include <string>

#include "host/CameraRecords.h"
#include "host/Services.h"
#include "workbench/HostSession.h"
#include "workbench/ParameterBlock.h"

namespace workbench {

namespace {

inline constexpr const char* kBlockWrongType = "Parameter block is for another kind of parameter";
inline constexpr const char* kBlockNotWritten = "Parameter block not written";
inline constexpr const char* kUnknownParameter = "Unknown parameter";

// Runs `body` against the active session; without one, or when the body
// throws, notes what it can and answers `fallback`.
template <typename Result, typename Body>
Result Guarded(const char* service, Result fallback, Body body) noexcept {
    HostSession* session = HostSession::activeOrNull();
    if (session == nullptr) return fallback;
    try {
        return body(*session);
    } catch (const std::exception& error) {
        try {
            session->noteFault(std::string(service) + ": " + error.what());
        } catch (...) {
        }
    } catch (...) {
    }
    return fallback;
}

Parameter* KnownParameter(HostSession& session, host::ParameterHandle handle, const char* service) {
    Parameter* parameter = session.findParameter(handle);
    if (parameter == nullptr) session.noteFault(std::string(service) + ": a parameter handle the host never made");
    return parameter;
}

CameraItem* KnownCamera(HostSession& session, host::ItemId item, const char* service) {
    CameraItem* camera = session.findCamera(item);
    if (camera == nullptr) session.noteFault(std::string(service) + ": an item the scene does not have");
    return camera;
}

// "LW Item Info 4".

void ItemVector(host::ItemId item, int code, double time, double out[3]) {
    out[0] = out[1] = out[2] = 0.0;  // what the module gets when nothing better can be said
    Guarded("itemVector", 0, [&](HostSession& session) {
        Vector3 vector{};
        if (const CameraItem* camera = KnownCamera(session, item, "itemVector")) {
            switch (code) {
            case host::kItemWorldPosition: vector = camera->positionAt(time); break;
            case host::kItemRightAxis: vector = camera->axesAt(time).right; break;
            case host::kItemUpAxis: vector = camera->axesAt(time).up; break;
            case host::kItemForwardAxis: vector = camera->axesAt(time).forward; break;
            default: session.noteFault("itemVector: code " + std::to_string(code) + " is not kept here");
            }
        }
        std::memcpy(out, vector.data(), sizeof vector);
        return 0;
    });
}

host::ChannelGroupId ItemChannelGroup(host::ItemId item) {
    return Guarded("channelGroup", host::ChannelGroupId{}, [&](HostSession& session) -> host::ChannelGroupId {
        const CameraItem* camera = KnownCamera(session, item, "channelGroup");
        return camera != nullptr ? camera->channels : nullptr;
    });
}

// "LW Camera Info 5".

template <Envelope CameraItem::*value>
double CameraValue(host::ItemId item, double time) {
    return Guarded("camera info", 0.0, [&](HostSession& session) {
        const CameraItem* camera = KnownCamera(session, item, "camera info");
        return camera != nullptr ? (camera->*value).valueAt(time) : 0.0;
    });
}

// "LWVParmFuncs 2".

host::ParameterHandle CreateParameter(int type, int /*texture*/) {
    return Guarded("create parameter", host::ParameterHandle{}, [&](HostSession& session) {
        return HostSession::handleOf(session.createParameter(type));
    });
}

void DestroyParameter(host::ParameterHandle handle) {
    Guarded("destroy parameter", 0, [&](HostSession& session) {
        if (Parameter* parameter = KnownParameter(session, handle, "destroy parameter")) {
            session.destroyParameter(*parameter);
        }
        return 0;
    });
}

int SetupChannel(host::ParameterHandle handle, const char* channelName, host::ChannelGroupId groupId, void*, void*,
                 void*, void*) {
    return Guarded("set up channel", 0, [&](HostSession& session) {
        Parameter* parameter = KnownParameter(session, handle, "set up channel");
        ChannelGroup* group = session.findChannelGroup(groupId);
        if (parameter == nullptr || channelName == nullptr) return 0;
        if (group == nullptr) {
            session.noteFault("set up channel: a channel group the host never made");
            return 0;
        }
        if (parameter->group != nullptr) std::erase(parameter->group->channels, parameter);
        parameter->channelName = channelName;
        parameter->group = group;
        group->channels.push_back(parameter);
        return 1;
    });
}

const char* LoadParameter(host::ParameterHandle handle, const host::LoadState* state) {
    return Guarded("load parameter", kBlockCutShort, [&](HostSession& session) -> const char* {
        Parameter* parameter = KnownParameter(session, handle, "load parameter");
        if (parameter == nullptr) return kUnknownParameter;
        ParameterBlock block;
        const char* error = DecodeParameterBlock(
            [state](float* buffer, int count) { return state->readFloats(state->context, buffer, count); }, block);
        if (error != nullptr) return error;
        if (block.type != parameter->type) return kBlockWrongType;
        parameter->envelope = std::move(block.envelope);
        return nullptr;
    });
}

const char* SaveParameter(host::ParameterHandle handle, const host::SaveState* state) {
    return Guarded("save parameter", kBlockNotWritten, [&](HostSession& session) -> const char* {
        const Parameter* parameter = KnownParameter(session, handle, "save parameter");
        if (parameter == nullptr) return kUnknownParameter;
        std::vector<float> floats = EncodeParameterBlock({parameter->type, parameter->envelope});
        const int count = static_cast<int>(floats.size());
        if (state->writeFloats(state->context, floats.data(), count) != count) return kBlockNotWritten;
        return nullptr;
    });
}

double ParameterValue(host::ParameterHandle handle, double time, void* /*reserved*/, double* result) {
    return Guarded("parameter value", 0.0, [&](HostSession& session) {
        const Parameter* parameter = KnownParameter(session, handle, "parameter value");
        const double value = parameter != nullptr ? parameter->envelope.valueAt(time) : 0.0;
        result[0] = value;
        return value;
    });
}

// An unkeyed parameter takes the value as its constant; a keyed one gets a
// key at the current time (replacing one already there), so an edit made on
// the panel stays where the user made it.
int SetParameterValue(host::ParameterHandle handle, const double* value) {
    return Guarded("set parameter value", 0, [&](HostSession& session) {
        Parameter* parameter = KnownParameter(session, handle, "set parameter value");
        if (parameter == nullptr || value == nullptr) return 0;
        if (!parameter->envelope.animated()) {
            parameter->envelope.setConstant(*value);
        } else {
            parameter->envelope.setKey({session.time(), *value, Interpolation::Spline});
        }
        return 1;
    });
}

// "Instance Update".

int InstanceUpdated(const char* className, void* instance) {
    return Guarded("instance update", 0, [&](HostSession& session) {
        session.recordInstanceUpdate({className != nullptr ? className : "", instance});
        return 1;
    });
}

// The tables are the same for every session: the module keeps pointers to
// them across sessions, and every function reaches the active session.
const host::ItemInfoService kItemInfo = [] {
    host::ItemInfoService service{};
    service.itemVector = ItemVector;
    service.channelGroup = ItemChannelGroup;
    return service;
}();

const host::CameraInfoService kCameraInfo = [] {
    host::CameraInfoService service{};
    service.zoomFactor = CameraValue<&CameraItem::zoomFactor>;
    service.focusDistance = CameraValue<&CameraItem::focusDistance>;
    service.fStop = CameraValue<&CameraItem::fStop>;
    return service;
}();

const host::ParameterService kParameterService = [] {
    host::ParameterService service{};
    service.create = CreateParameter;
    service.destroy = DestroyParameter;
    service.setupChannel = SetupChannel;
    service.load = LoadParameter;
    service.save = SaveParameter;
    service.value = ParameterValue;
    service.setValue = SetParameterValue;
    return service;
}();

// "Animation Envelopes": the module only checks that the host has it.
const struct EnvelopeServicePlaceholder {
    void* slots[8];
} kEnvelopeService{};

void* Lookup(const char* name, int /*mode*/) {
    if (name == nullptr) return nullptr;
    return Guarded("lookup", static_cast<void*>(nullptr),
                   [&](HostSession& session) { return session.service(name); });
}

}  // namespace

void* HostSession::service(std::string_view name) const {
    if (withdrawnServices_.contains(name)) return nullptr;
    if (const auto provided = providedServices_.find(name); provided != providedServices_.end()) {
        return provided->second;
    }
    if (name == host::kTimeInfoName) return const_cast<host::TimeInfo*>(&timeInfo_);
    if (name == host::kItemInfoName) return const_cast<host::ItemInfoService*>(&kItemInfo);
    if (name == host::kCameraInfoName) return const_cast<host::CameraInfoService*>(&kCameraInfo);
    if (name == host::kParameterServiceName) return const_cast<host::ParameterService*>(&kParameterService);
    if (name == host::kEnvelopeServiceName) return const_cast<EnvelopeServicePlaceholder*>(&kEnvelopeService);
    if (name == host::kInstanceUpdateName) return reinterpret_cast<void*>(&InstanceUpdated);
    return nullptr;
}

host::GlobalLookup HostSession::lookup() { return Lookup; }

}  // namespace workbench
