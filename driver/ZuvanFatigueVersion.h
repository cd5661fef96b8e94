#pragma once
// The program's version (the CMake project version), "X.Y.Z".

#ifndef ZUVAN_VERSION
#error "ZUVAN_VERSION is set by the build"
#endif

constexpr const char kZuvanFatigueVersion[] = ZUVAN_VERSION;
