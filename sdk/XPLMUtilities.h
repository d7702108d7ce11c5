#ifndef XPLMUtilities_h
#define XPLMUtilities_h

// Paths, logging, symbol lookup, error reporting and commands.

#include "XPLMDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

// Path buffers need room for 512 chars; returned directory paths end in a separator.
XPLM_API void XPLMGetSystemPath(char* outSystemPath);
XPLM_API void XPLMGetPrefsPath(char* outPrefsPath);
XPLM_API const char* XPLMGetDirectorySeparator(void);
// Splits in place: inFullPath keeps the directory, the return value points at the file name.
XPLM_API char* XPLMExtractFileAndPath(char* inFullPath);

// Appends to Log.txt; the text is not newline-terminated for you.
XPLM_API void XPLMDebugString(const char* inString);

#if defined(XPLM200)
typedef void (*XPLMError_f)(const char* inMessage);

XPLM_API void* XPLMFindSymbol(const char* inString);
// Meant for debugging only: installing it makes the SDK run extra (slow) checks.
XPLM_API void XPLMSetErrorCallback(XPLMError_f inCallback);

// Opaque command handle.
typedef void* XPLMCommandRef;

enum {
  xplm_CommandBegin = 0,
  xplm_CommandContinue = 1,
  xplm_CommandEnd = 2,
};
typedef int XPLMCommandPhase;

// Return 1 to let later handlers (and X-Plane) see the command, 0 to swallow it.
typedef int (*XPLMCommandCallback_f)(XPLMCommandRef inCommand, XPLMCommandPhase inPhase, void* inRefcon);

XPLM_API XPLMCommandRef XPLMFindCommand(const char* inName);
XPLM_API void XPLMCommandBegin(XPLMCommandRef inCommand);
XPLM_API void XPLMCommandEnd(XPLMCommandRef inCommand);
XPLM_API void XPLMCommandOnce(XPLMCommandRef inCommand);
XPLM_API XPLMCommandRef XPLMCreateCommand(const char* inName, const char* inDescription);
// inBefore = 1 runs the handler before X-Plane's own, 0 after.
XPLM_API void XPLMRegisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler,
                                         int inBefore, void* inRefcon);
XPLM_API void XPLMUnregisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler,
                                           int inBefore, void* inRefcon);
#endif  // XPLM200

#ifdef __cplusplus
}
#endif

#endif  // XPLMUtilities_h
