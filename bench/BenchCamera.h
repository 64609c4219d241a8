#pragma once
// The camera every benchmark drives: the built module file loaded into the
// stand-in host, and a tilted, shifted camera that moves and turns during
// the shutter, with its frame set up.

#include <cstddef>
#include <vector>

#include "host/CameraRecords.h"
#include "lens/LensSample.h"
#include "workbench/Stage.h"
#include "workbench/Workbench.h"

namespace bench {

// The settings the scene gives the module's camera; the tilt angle is
// animated, from tiltAngleAtStart onwards.
struct CameraSettings {
    double zoomFactor = 2.0;
    double hShift = 0.05;
    double vShift = -0.03;
    double tiltDirection = 0.4;
    double tiltAngleAtStart = 0.08;
    double focusDistance = 4.0;
    double fStop = 2.8;
};

workbench::Scene TiltShiftScene(int motionSteps);

class BenchCamera {
public:
    // Loads the module, stages the scene and sets up its first frame.
    explicit BenchCamera(int motionSteps);

    const host::CameraHandlerRecord& record() const { return workbench_.handler().record(); }
    void* instance() { return stage_.instance().data(); }
    host::CameraAccess access() const { return stage_.cameraAccess(); }
    host::FrameSetup frameSetup() const { return stage_.scene().frameSetup(0); }
    const workbench::Scene& scene() const { return stage_.scene(); }
    const workbench::CameraItem& camera() const { return stage_.camera(); }

    // The lens sample the module makes for `time`, made here from the same
    // settings and camera placement.
    tarvelin::LensSample sampleAt(double time) const;

private:
    workbench::Workbench workbench_;
    workbench::Stage stage_;
};

// One film sample as a renderer hands it to the camera.
struct RaySample {
    double filmX, filmY;  // metres from the film's centre
    double lensX, lensY;  // a point of the unit disc
    double fraction;      // of the shutter interval, 0 to 1
};

// `count` samples spread over the film, the lens disc and the shutter; the
// same every run.
std::vector<RaySample> MakeRaySamples(const workbench::Film& film, std::size_t count);

}  // namespace bench
