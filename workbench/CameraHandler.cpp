#include "workbench/CameraHandler.h"

#include <utility>

#include "workbench/Errors.h"
#include "workbench/FloatStream.h"

namespace workbench {

CameraHandler::CameraHandler(const ModuleLibrary& module, HostSession& session, std::string_view serverName)
    : module_(module), session_(session), serverName_(serverName) {
    record_.instanceOperations = &operations_;
    const host::ServerEntry& server = module_.server(host::kCameraHandlerClass, serverName_);
    module_.activate(server, host::kCameraHandlerVersion, HostSession::lookup(), &record_);
    if (operations_.create == nullptr || operations_.destroy == nullptr) {
        throw ModuleError(module_.file().string() + ": the CameraHandler activation installed no instance operations");
    }
}

bool CameraHandler::hasLensOperations() const {
    return record_.setupFrame != nullptr && record_.evaluateRay != nullptr && record_.preview != nullptr;
}

CameraInstance CameraHandler::createInstance(const CameraItem& camera) const {
    const char* error = nullptr;
    void* data = operations_.create(operations_.privateData, HostSession::idOf(camera), &error);
    if (data == nullptr) {
        throw ModuleError(module_.file().string() + ": creating the camera failed: " +
                          (error != nullptr ? error : "no reason given"));
    }
    return CameraInstance(*this, camera, data);
}

host::CameraInterfaceRecord CameraHandler::activateInterface(const CameraInstance& instance) const {
    host::CameraInterfaceRecord record{instance.data(), nullptr, nullptr, nullptr};
    const host::ServerEntry& server = module_.server(host::kCameraInterfaceClass, serverName_);
    module_.activate(server, host::kCameraInterfaceVersion, HostSession::lookup(), &record);
    return record;
}

CameraInstance::CameraInstance(CameraInstance&& other) noexcept
    : handler_(other.handler_), camera_(other.camera_), data_(std::exchange(other.data_, nullptr)) {}

CameraInstance& CameraInstance::operator=(CameraInstance&& other) noexcept {
    if (this != &other) {
        release();
        handler_ = other.handler_;
        camera_ = other.camera_;
        data_ = std::exchange(other.data_, nullptr);
    }
    return *this;
}

CameraInstance::~CameraInstance() { release(); }

void CameraInstance::release() noexcept {
    if (data_ != nullptr) handler_->operations().destroy(data_);
    data_ = nullptr;
}

void CameraInstance::fail(const std::string& what, const char* moduleText) const {
    throw ModuleError(handler_->module().file().string() + ": " + what +
                      (moduleText != nullptr ? std::string(": ") + moduleText : std::string()));
}

const char* CameraInstance::describe() const {
    const auto describe = handler_->operations().describe;
    return describe != nullptr ? describe(data_) : "";
}

void CameraInstance::copyFrom(const CameraInstance& source) {
    const auto copy = handler_->operations().copy;
    if (copy == nullptr) fail("the camera has no copy operation", nullptr);
    if (const char* error = copy(data_, source.data_)) fail("copying the camera failed", error);
}

std::vector<float> CameraInstance::save() const {
    const auto save = handler_->operations().save;
    if (save == nullptr) fail("the camera has no save operation", nullptr);
    FloatStream stream;
    const host::SaveState state = stream.saveState();
    if (const char* error = save(data_, &state)) fail("saving the camera failed", error);
    return stream.floats();
}

void CameraInstance::load(const std::vector<float>& floats) {
    const auto load = handler_->operations().load;
    if (load == nullptr) fail("the camera has no load operation", nullptr);
    FloatStream stream(floats);
    const host::LoadState state = stream.loadState();
    if (const char* error = load(data_, &state)) fail("loading the camera's scene data failed", error);
    if (stream.overrun()) fail("loading the camera's scene data failed: the data ends early", nullptr);
    if (stream.readPosition() != floats.size()) {
        fail("loading the camera's scene data failed: " + std::to_string(floats.size() - stream.readPosition()) +
                 " floats were left unread",
             nullptr);
    }
}

void CameraInstance::setupFrame(const host::FrameSetup& frame, const host::CameraAccess& access) {
    const auto setup = handler_->record().setupFrame;
    if (setup == nullptr) fail("the camera has no per-frame set-up", nullptr);
    if (const char* error = setup(data_, &frame, &access)) fail("setting up the frame failed", error);
}

bool CameraInstance::evaluateRay(double filmX, double filmY, double lensX, double lensY, double fraction,
                                 host::CameraRay& ray) const {
    const auto evaluate = handler_->record().evaluateRay;
    if (evaluate == nullptr) fail("the camera has no ray evaluation", nullptr);
    return evaluate(data_, filmX, filmY, lensX, lensY, fraction, &ray) != 0;
}

void CameraInstance::preview(double lensX, double lensY, double projection[4][4],
                             const host::CameraAccess& access) const {
    const auto preview = handler_->record().preview;
    if (preview == nullptr) fail("the camera has no preview projection", nullptr);
    preview(data_, lensX, lensY, projection, &access);
}

}  // namespace workbench
