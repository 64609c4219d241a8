#pragma once
// The module's globals as a fresh load of the module leaves them, for tests
// and fuzz cases that link the module's code straight in and so share one
// copy of its module-wide state.

#include "lens/LensTable.h"
#include "module/HostServices.h"
#include "module/Memory.h"
#include "tests/support/ControlledMemory.h"

namespace testhost {

// The module keeps the last frame's lens table until the next frame.
inline void ReleaseLensTable() {
    tarvelin::Release(tarvelin::LensTable.samples);
    tarvelin::LensTable = {};
}

// No host services, no lens table, and a heap that does not fail.
inline void ResetModuleState() {
    tarvelin::HostServices = {};
    tarvelin::pi = 0.0;
    ReleaseLensTable();
    FailNextAllocations(0);
}

}  // namespace testhost
