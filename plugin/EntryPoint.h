#pragma once

#include "plugin/VstAbi.h"

#define OMBRAFELL_EXPORT __attribute__((visibility("default")))

// The entry point a host calls once per instance; null when the host is unusable.
extern "C" OMBRAFELL_EXPORT AEffect* VSTPluginMain(audioMasterCallback hostCallback);
