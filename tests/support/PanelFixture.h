#pragma once
// A camera instance and a fake panel service, ready for the interface
// server's activation.

#include "panel/CameraInterface.h"
#include "tests/support/ModuleFixture.h"
#include "tests/support/RecordingPanel.h"

namespace testhost {

class PanelFixture : public InstanceFixture {
protected:
    void SetUp() override {
        InstanceFixture::SetUp();
        record.instance = instance;
    }

    int ActivateInterface(int version = host::kCameraInterfaceVersion) {
        return tarvelin::ActivateCameraInterface(version, RecordingHost::lookup(), &record, nullptr);
    }

    RecordingPanel fakePanel{fakeHost};
    host::CameraInterfaceRecord record{};
};

}  // namespace testhost
