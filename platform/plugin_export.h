// Marks a plug-in's export: C linkage, visible although plug-ins are built
// with hidden visibility.
//
//   KV_EXPORT int GetInfo(char* buffer);
#pragma once

#define KV_EXPORT extern "C" __attribute__((visibility("default")))
