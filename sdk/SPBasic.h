// The basic suite the host hands to the entry point; every other suite is acquired through it.
#ifndef ZENTRIM_SDK_SPBASIC_H
#define ZENTRIM_SDK_SPBASIC_H

#include <stddef.h>

#include "SPTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kSPBasicSuite "SP Basic Suite"
#define kSPBasicSuiteVersion 4

// No packing pragma here: the host's own header has none, and all members are pointers.
typedef struct SPBasicSuite {
    SPErr(SPAPI* AcquireSuite)(const char* name, int32_t version, const void** suite);
    SPErr(SPAPI* ReleaseSuite)(const char* name, int32_t version);
    SPBoolean(SPAPI* IsEqual)(const char* token1, const char* token2);
    SPErr(SPAPI* AllocateBlock)(size_t size, void** block);
    SPErr(SPAPI* FreeBlock)(void* block);
    SPErr(SPAPI* ReallocateBlock)(void* block, size_t newSize, void** newblock);
    SPErr(SPAPI* Undefined)(void);
} SPBasicSuite;

#ifdef __cplusplus
}
#endif

#endif  // ZENTRIM_SDK_SPBASIC_H
