#pragma once
// The host's global services, as a module reaches them through the lookup
// function handed to each activation. Slots are numbered from 0 in
// pointer-sized steps; slots the module never uses are kept as placeholders.
//
// All of these are called from the host's main thread except where a comment
// says otherwise.

#include "host/Layout.h"
#include "host/SceneState.h"

namespace host {

// lookup(service name, 0) → the service's record or function table, or null.
using GlobalLookup = void* (*)(const char* serviceName, int mode);
inline constexpr int kLookupMode = 0;

using ItemId = void*;
using ChannelGroupId = void*;
using ParameterHandle = void*;

inline constexpr const char* kTimeInfoName = "LW Time Info";
inline constexpr const char* kItemInfoName = "LW Item Info 4";
inline constexpr const char* kCameraInfoName = "LW Camera Info 5";
inline constexpr const char* kParameterServiceName = "LWVParmFuncs 2";
inline constexpr const char* kEnvelopeServiceName = "Animation Envelopes";
inline constexpr const char* kInstanceUpdateName = "Instance Update";

// "LW Time Info": a record whose first field is the current time.
struct TimeInfo {
    double time;  // seconds
};
HOST_CHECK_BYTE(TimeInfo, time, 0);

// Codes of the item service's vector query.
enum ItemVectorCode : int {
    kItemRightAxis = 2,
    kItemUpAxis = 3,
    kItemForwardAxis = 4,
    kItemWorldPosition = 8,
};

// "LW Item Info 4".
struct ItemInfoService {
    UnusedSlot reserved0[9];
    // Fills `out` with the item's vector `code` at `time`; called per frame.
    void (*itemVector)(ItemId item, int code, double time, double out[3]);
    UnusedSlot reserved10[3];
    // The group that holds the item's animation channels.
    ChannelGroupId (*channelGroup)(ItemId item);
};
HOST_CHECK_SLOT(ItemInfoService, itemVector, 9, 36);
HOST_CHECK_SLOT(ItemInfoService, channelGroup, 13, 52);

// "LW Camera Info 5"; all called per frame and from the preview.
struct CameraInfoService {
    double (*zoomFactor)(ItemId camera, double time);
    UnusedSlot reserved1;
    double (*focusDistance)(ItemId camera, double time);  // metres
    double (*fStop)(ItemId camera, double time);
};
HOST_CHECK_SLOT(CameraInfoService, zoomFactor, 0, 0);
HOST_CHECK_SLOT(CameraInfoService, focusDistance, 2, 8);
HOST_CHECK_SLOT(CameraInfoService, fStop, 3, 12);

// Type codes of animated parameters.
enum ParameterType : int {
    kParameterNumber = 16,
    kParameterPercent = 32,
    kParameterAngle = 64,
};
inline constexpr int kNoTexture = -1;

// "LWVParmFuncs 2": animated parameters that appear as channels of an item.
struct ParameterService {
    ParameterHandle (*create)(int type, int texture);  // null when it cannot
    void (*destroy)(ParameterHandle parameter);
    // The last four arguments are always null.
    int (*setupChannel)(ParameterHandle parameter, const char* channelName, ChannelGroupId group,
                        void*, void*, void*, void*);
    UnusedSlot reserved3;
    // Both answer an error text, or null on success.
    const char* (*load)(ParameterHandle parameter, const LoadState* state);
    const char* (*save)(ParameterHandle parameter, const SaveState* state);
    // Writes the value at `time` into result[0]; the returned double is not
    // the value and is ignored. `result` holds at least three doubles.
    double (*value)(ParameterHandle parameter, double time, void* reserved, double* result);
    int (*setValue)(ParameterHandle parameter, const double* value);
};
HOST_CHECK_SLOT(ParameterService, create, 0, 0);
HOST_CHECK_SLOT(ParameterService, destroy, 1, 4);
HOST_CHECK_SLOT(ParameterService, setupChannel, 2, 8);
HOST_CHECK_SLOT(ParameterService, load, 4, 16);
HOST_CHECK_SLOT(ParameterService, save, 5, 20);
HOST_CHECK_SLOT(ParameterService, value, 6, 24);
HOST_CHECK_SLOT(ParameterService, setValue, 7, 28);

// "Instance Update": tells the host that an instance of a class changed.
using InstanceUpdateFunction = int (*)(const char* className, void* instance);

}  // namespace host
