#pragma once
// A module's "CameraHandler" server activated in a host session, and the
// camera instances made through it.

#include <vector>

#include "host/CameraRecords.h"
#include "workbench/HostSession.h"
#include "workbench/ModuleLibrary.h"

namespace workbench {

class CameraInstance;

class CameraHandler {
public:
    // Activates the module's "CameraHandler" server (interface version 2)
    // with the session's lookup. Throws ModuleError. The module, the session
    // and this handler must outlive every instance made through it.
    CameraHandler(const ModuleLibrary& module, HostSession& session,
                  std::string_view serverName = kCameraServerName);
    CameraHandler(const CameraHandler&) = delete;
    CameraHandler& operator=(const CameraHandler&) = delete;

    const ModuleLibrary& module() const { return module_; }
    HostSession& session() const { return session_; }
    const host::InstanceOperations& operations() const { return operations_; }
    const host::CameraHandlerRecord& record() const { return record_; }
    // True when the activation installed the per-frame set-up, the ray
    // evaluation and the preview projection.
    bool hasLensOperations() const;

    // A new instance of the camera for `camera`; throws ModuleError with the
    // module's own error text.
    CameraInstance createInstance(const CameraItem& camera) const;

    // Activates the module's "CameraInterface" server (interface version 4)
    // for `instance` and answers the filled record (its panel). Throws
    // ModuleError.
    host::CameraInterfaceRecord activateInterface(const CameraInstance& instance) const;

private:
    const ModuleLibrary& module_;
    HostSession& session_;
    std::string serverName_;
    host::InstanceOperations operations_{};
    host::CameraHandlerRecord record_{};
};

// One instance of the module's camera; destroyed through the module when this
// object goes.
class CameraInstance {
public:
    CameraInstance(CameraInstance&& other) noexcept;
    CameraInstance& operator=(CameraInstance&& other) noexcept;
    ~CameraInstance();

    void* data() const { return data_; }
    const CameraItem& camera() const { return *camera_; }
    const CameraHandler& handler() const { return *handler_; }

    const char* describe() const;
    void copyFrom(const CameraInstance& source);

    // The module's scene data for this instance, as its save writes it.
    std::vector<float> save() const;
    // Loads the instance from exactly the floats a save wrote; a module error,
    // a stream that ends early or floats left over throw ModuleError.
    void load(const std::vector<float>& floats);

    // The lens operations; they throw ModuleError when the module has none.
    void setupFrame(const host::FrameSetup& frame, const host::CameraAccess& access);
    // False when the module had no table to answer from. Render threads may
    // call it at once, but never while setupFrame runs.
    bool evaluateRay(double filmX, double filmY, double lensX, double lensY, double fraction,
                     host::CameraRay& ray) const;
    // The interactive view's projection (row vectors) at the session's time.
    void preview(double lensX, double lensY, double projection[4][4], const host::CameraAccess& access) const;

private:
    friend class CameraHandler;
    CameraInstance(const CameraHandler& handler, const CameraItem& camera, void* data)
        : handler_(&handler), camera_(&camera), data_(data) {}
    void release() noexcept;
    [[noreturn]] void fail(const std::string& what, const char* moduleText) const;

    const CameraHandler* handler_;
    const CameraItem* camera_;
    void* data_;
};

}  // namespace workbench
