#pragma once
// The records a camera module exchanges with the host: the handler records
// that activation fills, the camera access and frame records handed to the
// lens operations, and the ray they fill.

#include <cstdint>

#include "host/Activation.h"
#include "host/Layout.h"
#include "host/SceneState.h"
#include "host/Services.h"

namespace host {

inline constexpr const char* kCameraHandlerClass = "CameraHandler";
inline constexpr const char* kCameraInterfaceClass = "CameraInterface";
inline constexpr int kCameraHandlerVersion = 2;
inline constexpr int kCameraInterfaceVersion = 4;

// The camera as the lens operations see it. Only these fields are read.
struct CameraAccess {
    ItemId cameraItem;
    std::uint8_t hostFields[176 - sizeof(void*)];
    alignas(8) double filmWidth;  // metres
    double filmHeight;            // metres
};
HOST_CHECK_BYTE(CameraAccess, cameraItem, 0);
HOST_CHECK_BYTE(CameraAccess, filmWidth, 176);
HOST_CHECK_BYTE(CameraAccess, filmHeight, 184);

// One frame's shutter interval, handed to the per-frame set-up.
struct FrameSetup {
    std::int32_t frame;
    alignas(8) double startTime;  // seconds
    double duration;              // seconds
    double hostValue;
    std::int32_t motionSteps;
};
HOST_CHECK_BYTE(FrameSetup, frame, 0);
HOST_CHECK_BYTE(FrameSetup, startTime, 8);
HOST_CHECK_BYTE(FrameSetup, duration, 16);
HOST_CHECK_BYTE(FrameSetup, hostValue, 24);
HOST_CHECK_BYTE(FrameSetup, motionSteps, 32);

// Filled by the ray evaluation for every film sample.
struct CameraRay {
    double origin[3];       // world position where the ray starts
    double direction[3];    // unit length
    double forwardAxis[3];  // the camera's forward axis
};
HOST_CHECK_BYTE(CameraRay, origin, 0);
HOST_CHECK_BYTE(CameraRay, direction, 24);
HOST_CHECK_BYTE(CameraRay, forwardAxis, 48);

// The instance operations of a handler class; the host owns the record and
// the activation fills every slot. All are called from the main thread.
struct InstanceOperations {
    void* privateData;  // handed back as the first argument of create
    void* (*create)(void* privateData, ItemId item, const char** error);
    void (*destroy)(void* instance);
    const char* (*copy)(void* destination, void* source);
    const char* (*load)(void* instance, const LoadState* state);
    const char* (*save)(void* instance, const SaveState* state);
    const char* (*describe)(void* instance);
};
HOST_CHECK_SLOT(InstanceOperations, privateData, 0, 0);
HOST_CHECK_SLOT(InstanceOperations, create, 1, 4);
HOST_CHECK_SLOT(InstanceOperations, destroy, 2, 8);
HOST_CHECK_SLOT(InstanceOperations, copy, 3, 12);
HOST_CHECK_SLOT(InstanceOperations, load, 4, 16);
HOST_CHECK_SLOT(InstanceOperations, save, 5, 20);
HOST_CHECK_SLOT(InstanceOperations, describe, 6, 24);

// The "CameraHandler" class's record, handed to its activation.
struct CameraHandlerRecord {
    InstanceOperations* instanceOperations;  // host-owned; the activation fills it
    void* hostWord1;                         // never written by a module
    void* hostWord2;                         // never written by a module
    // From the interactive view: a 4×4 projection (row vectors) into `out`.
    int (*preview)(void* instance, double lensX, double lensY, double out[4][4], const CameraAccess* access);
    // Once per frame, before any ray of it; answers an error text or null.
    const char* (*setupFrame)(void* instance, const FrameSetup* frame, const CameraAccess* access);
    // Per film sample, from any render thread at once; 1 when the ray was written.
    int (*evaluateRay)(void* instance, double filmX, double filmY, double lensX, double lensY, double fraction,
                       CameraRay* ray);
    unsigned (*flags)(void* instance);
};
HOST_CHECK_SLOT(CameraHandlerRecord, instanceOperations, 0, 0);
HOST_CHECK_SLOT(CameraHandlerRecord, hostWord1, 1, 4);
HOST_CHECK_SLOT(CameraHandlerRecord, hostWord2, 2, 8);
HOST_CHECK_SLOT(CameraHandlerRecord, preview, 3, 12);
HOST_CHECK_SLOT(CameraHandlerRecord, setupFrame, 4, 16);
HOST_CHECK_SLOT(CameraHandlerRecord, evaluateRay, 5, 20);
HOST_CHECK_SLOT(CameraHandlerRecord, flags, 6, 24);

// The "CameraInterface" class's record, handed to its activation.
struct CameraInterfaceRecord {
    void* instance;     // the camera instance the panel is for
    void* panel;        // written by the activation
    void* hostOption1;  // a host function slot; the activation writes null
    void* hostOption2;  // a host function slot; the activation writes null
};
HOST_CHECK_SLOT(CameraInterfaceRecord, instance, 0, 0);
HOST_CHECK_SLOT(CameraInterfaceRecord, panel, 1, 4);
HOST_CHECK_SLOT(CameraInterfaceRecord, hostOption1, 2, 8);
HOST_CHECK_SLOT(CameraInterfaceRecord, hostOption2, 3, 12);

}  // namespace host
