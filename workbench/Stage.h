#pragma once
// A scene brought to life: its camera as an item of the host session and an
// instance of the module's camera for it, with the settings the scene holds.
// The renderer and the command line drive a frame through this.

#include <string_view>

#include "workbench/CameraHandler.h"
#include "workbench/Scene.h"

namespace workbench {

class Stage {
public:
    // Adds the scene's camera to the handler's session, creates the module's
    // camera instance for it and restores the settings: from the module's own
    // scene data when the scene has it, otherwise from the readable settings
    // channels (a setting the scene leaves out keeps the module's default).
    // Throws a WorkbenchError (SceneError, ModuleError, or SessionError when
    // the session already has a camera of that name) and then leaves nothing
    // in the session.
    Stage(const CameraHandler& handler, Scene scene);
    ~Stage();
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    // The scene as loaded; its camera and settings may since have changed in
    // the session (see capture()).
    const Scene& scene() const { return scene_; }
    CameraItem& camera() const { return *camera_; }
    CameraInstance& instance() { return instance_; }
    const CameraInstance& instance() const { return instance_; }
    HostSession& session() const { return handler_.session(); }

    // The camera's setting channel of that name in its channel group, or null.
    Parameter* setting(std::string_view channelName) const;

    host::CameraAccess cameraAccess() const;
    // Sets the host's time to the frame's start and runs the module's
    // per-frame set-up for its shutter interval.
    void setupFrame(int frame);

    // The scene as it now stands: the camera's motion, the settings channels
    // and the module's own scene data taken from the session and the module.
    Scene capture() const;

private:
    // The camera item in the session, removed again when the stage goes
    // (after the instance, whose parameters are its channels).
    class CameraLease {
    public:
        CameraLease(HostSession& session, const Scene& scene);
        ~CameraLease();
        CameraLease(const CameraLease&) = delete;
        CameraLease& operator=(const CameraLease&) = delete;
        CameraItem& camera() const { return *camera_; }

    private:
        HostSession& session_;
        CameraItem* camera_;
    };

    void restoreSettings();

    const CameraHandler& handler_;
    Scene scene_;
    CameraLease lease_;
    CameraItem* camera_;
    CameraInstance instance_;
};

// Parameters by float bit pattern and back, as scene files keep them.
std::vector<std::uint32_t> FloatBits(const std::vector<float>& floats);
std::vector<float> FloatsFromBits(const std::vector<std::uint32_t>& bits);

}  // namespace workbench
