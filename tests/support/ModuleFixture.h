#pragma once
// A fresh module state and a recording host for each test.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/CameraRecords.h"
#include "instance/InstanceOperations.h"
#include "module/CameraHandler.h"
#include "tests/support/ControlledMemory.h"
#include "tests/support/ModuleState.h"
#include "tests/support/RecordingHost.h"

namespace testhost {

class ModuleFixture : public ::testing::Test {
protected:
    ModuleFixture() { ResetModuleState(); }

    ~ModuleFixture() override { ReleaseLensTable(); }

    void TearDown() override { EXPECT_THAT(fakeHost.faults, ::testing::IsEmpty()); }

    int ActivateHandler(int version = host::kCameraHandlerVersion) {
        return tarvelin::ActivateCameraHandler(version, RecordingHost::lookup(), &handler, nullptr);
    }

    RecordingHost fakeHost;
    host::InstanceOperations operations{};
    host::CameraHandlerRecord handler{&operations, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
};

// An activated module and one camera instance, destroyed at the end.
class InstanceFixture : public ModuleFixture {
protected:
    void SetUp() override {
        ASSERT_EQ(ActivateHandler(), host::kActivated);
        instance = static_cast<tarvelin::TiltShiftInstance*>(
            tarvelin::CreateInstance(nullptr, fakeHost.cameraItem, &error));
        ASSERT_NE(instance, nullptr);
        fakeHost.clearCalls();
    }

    void TearDown() override {
        tarvelin::DestroyInstance(instance);
        ReleaseLensTable();
        EXPECT_EQ(LiveModuleBlocks(), 0);
        ModuleFixture::TearDown();
    }

    // The instance's five settings in the settings order.
    std::vector<double> Settings() const {
        return {instance->zoomFactor, instance->hShift, instance->vShift, instance->tiltDirection,
                instance->tiltAngle};
    }
    void SetSettings(const std::vector<double>& values) {
        for (std::size_t i = 0; i < values.size(); ++i) instance->*tarvelin::kSettings[i].value = values[i];
    }
    // What the host's parameters answer, in the settings order.
    void SetParameterValues(const std::vector<double>& values) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            fakeHost.parameter(instance->*tarvelin::kSettings[i].parameter).value = values[i];
        }
    }

    const char* error = nullptr;
    tarvelin::TiltShiftInstance* instance = nullptr;
};

}  // namespace testhost
