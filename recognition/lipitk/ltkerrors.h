#pragma once

// Status codes of the recognition toolkit layer: 0 is success, anything else names the failure.
namespace LTKErrors {
constexpr int kSuccess = 0;
constexpr int kInvalidArgument = 1;
constexpr int kLibraryNotFound = 2;
constexpr int kFunctionNotFound = 3;
constexpr int kRootPathNotSet = 4;
constexpr int kConfigFileMissing = 5;
constexpr int kUnknownProject = 6;
constexpr int kModelFileMissing = 7;
constexpr int kModelFileCorrupt = 8;
constexpr int kModelNotLoaded = 9;
constexpr int kEmptyTraceGroup = 10;
} // namespace LTKErrors
