#pragma once

#include "plugin/vst2/VstAbi.h"

#ifdef _WIN32
// The module's .def file names the exports.
#define OMBRAFELL_EXPORT
#else
#define OMBRAFELL_EXPORT __attribute__((visibility("default")))
#endif

// The entry point a host calls once per instance; null when the host is unusable.
extern "C" OMBRAFELL_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback hostCallback);
