#include "workbench/Stage.h"

#include <bit>

#include "workbench/Errors.h"

namespace workbench {

std::vector<std::uint32_t> FloatBits(const std::vector<float>& floats) {
    std::vector<std::uint32_t> bits;
    bits.reserve(floats.size());
    for (float value : floats) bits.push_back(std::bit_cast<std::uint32_t>(value));
    return bits;
}

std::vector<float> FloatsFromBits(const std::vector<std::uint32_t>& bits) {
    std::vector<float> floats;
    floats.reserve(bits.size());
    for (std::uint32_t word : bits) floats.push_back(std::bit_cast<float>(word));
    return floats;
}

Stage::CameraLease::CameraLease(HostSession& session, const Scene& scene) : session_(session) {
    // A new camera takes the host's zoom factor at the current time.
    session_.setTime(scene.frameTime(scene.frames.first));
    CameraItem& camera = session_.addCamera(scene.camera.name);
    camera.position = scene.camera.position;
    camera.rotation = scene.camera.rotation;
    camera.zoomFactor = scene.camera.zoomFactor;
    camera.focusDistance = scene.camera.focusDistance;
    camera.fStop = scene.camera.fStop;
    camera_ = &camera;
}

Stage::CameraLease::~CameraLease() {
    try {
        session_.removeCamera(*camera_);
    } catch (const std::exception& error) {
        session_.noteFault(error.what());
    }
}

Stage::Stage(const CameraHandler& handler, Scene scene)
    : handler_(handler),
      scene_(std::move(scene)),
      lease_(handler.session(), scene_),
      camera_(&lease_.camera()),
      instance_(handler.createInstance(*camera_)) {
    restoreSettings();
}

Stage::~Stage() = default;

void Stage::restoreSettings() {
    if (scene_.moduleData) {
        instance_.load(FloatsFromBits(*scene_.moduleData));
        return;
    }
    for (const auto& [name, envelope] : scene_.settings) {
        Parameter* channel = setting(name);
        if (channel == nullptr) {
            throw SceneError("the camera has no \"" + name + "\" channel to take the scene's setting");
        }
        channel->envelope = envelope;
    }
}

Parameter* Stage::setting(std::string_view channelName) const {
    return camera_->channels != nullptr ? HostSession::findChannel(*camera_->channels, channelName) : nullptr;
}

host::CameraAccess Stage::cameraAccess() const {
    host::CameraAccess access{};
    access.cameraItem = HostSession::idOf(*camera_);
    access.filmWidth = scene_.film.width;
    access.filmHeight = scene_.film.height;
    return access;
}

void Stage::setupFrame(int frame) {
    session().setTime(scene_.frameTime(frame));
    instance_.setupFrame(scene_.frameSetup(frame), cameraAccess());
}

Scene Stage::capture() const {
    Scene scene = scene_;
    scene.camera.name = camera_->name;
    scene.camera.position = camera_->position;
    scene.camera.rotation = camera_->rotation;
    scene.camera.zoomFactor = camera_->zoomFactor;
    scene.camera.focusDistance = camera_->focusDistance;
    scene.camera.fStop = camera_->fStop;
    scene.settings.clear();
    for (std::string_view name : kSettingChannels) {
        if (const Parameter* channel = setting(name)) scene.settings.emplace(std::string(name), channel->envelope);
    }
    scene.moduleData = FloatBits(instance_.save());
    return scene;
}

}  // namespace workbench
