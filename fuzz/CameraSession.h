#pragma once
// One fuzz case's host: the recording test host, an activated camera handler
// and one camera instance, with the module's globals reset before and checked
// after. The module keeps its lens table and service pointers module-wide, so
// every case starts from nothing, as a fresh load of the module would.

#include <vector>

#include "fuzz/FuzzInput.h"
#include "host/CameraRecords.h"
#include "instance/InstanceOperations.h"
#include "module/CameraHandler.h"
#include "tests/support/ControlledMemory.h"
#include "tests/support/ModuleState.h"
#include "tests/support/RecordingHost.h"

namespace fuzz {

class CameraSession {
public:
    CameraSession() {
        testhost::ResetModuleState();
        FUZZ_CHECK(tarvelin::ActivateCameraHandler(host::kCameraHandlerVersion, testhost::RecordingHost::lookup(),
                                                   &handler, nullptr) == host::kActivated);
    }

    ~CameraSession() {
        testhost::FailNextAllocations(0);
        for (tarvelin::TiltShiftInstance* instance : instances_) tarvelin::DestroyInstance(instance);
        testhost::ReleaseLensTable();
        FUZZ_CHECK(testhost::LiveModuleBlocks() == 0);
        FUZZ_CHECK(host.faults.empty());
    }

    CameraSession(const CameraSession&) = delete;
    CameraSession& operator=(const CameraSession&) = delete;

    // A new camera instance, destroyed with the session.
    tarvelin::TiltShiftInstance* CreateInstance() {
        const char* error = nullptr;
        auto* instance =
            static_cast<tarvelin::TiltShiftInstance*>(tarvelin::CreateInstance(nullptr, host.cameraItem, &error));
        FUZZ_CHECK(instance != nullptr);
        instances_.push_back(instance);
        return instance;
    }

    testhost::RecordingHost host;
    host::InstanceOperations operations{};
    host::CameraHandlerRecord handler{&operations, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

private:
    std::vector<tarvelin::TiltShiftInstance*> instances_;
};

}  // namespace fuzz
