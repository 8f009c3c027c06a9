/* The checksum library: the table and head checksums of a font file given
 * by name. Every call opens the file, reads what it needs and closes it. */
#ifndef SUMKIT_SUMKIT_H
#define SUMKIT_SUMKIT_H

#include <stdint.h>

#if defined(_WIN32)
#define SUMKIT_EXPORT __declspec(dllexport)
#else
#define SUMKIT_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The table checksum of `length` bytes at `offset`: big-endian words, the
 * last one padded with zeros, bytes past the end of the file as zero.
 * 0 when the file cannot be opened (after the message "ERROR"). */
SUMKIT_EXPORT uint32_t CalcTblCheckSum(const char* fontPath, int32_t offset, uint32_t length);

/* The head checksum: the 52 bytes at `offset` with checkSumAdjustment taken
 * as zero. 0 when the file cannot be opened (after the message). */
SUMKIT_EXPORT uint32_t CalcHeadCheckSum(const char* fontPath, int32_t offset);

/* Writes "VTBL" and a terminating zero into a buffer of at least 5 bytes; 1. */
SUMKIT_EXPORT int GetName(char* buffer);

/* Where the library's messages go: the host may install a handler (caption,
 * text, context). Without one, messages go to standard error as
 * "CAPTION: text". Pass a null handler to restore that. */
typedef void (*SumkitMessageHandler)(const char* caption, const char* text, void* context);
SUMKIT_EXPORT void SumkitSetMessageHandler(SumkitMessageHandler handler, void* context);

/* Function types for hosts that resolve the exports by name. */
typedef uint32_t (*CalcTblCheckSumFunction)(const char*, int32_t, uint32_t);
typedef uint32_t (*CalcHeadCheckSumFunction)(const char*, int32_t);
typedef void (*SumkitSetMessageHandlerFunction)(SumkitMessageHandler, void*);

#ifdef __cplusplus
}
#endif

#endif
