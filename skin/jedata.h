#pragma once
// jedata.dll: zuzar's window-skinning engine. One export, by its undecorated name.
//
//   int __stdcall SkinH_AttachEx(const char* skinPath, const char* password);
//
// skinPath  the skin file (".she", see skin/FORMAT.md), in the ANSI code page (GBK for zuzar).
// password  the skin's password in the same code page; "" or null for none. A skin without a
//           password accepts any.
//
// Results:
//   JEDATA_ATTACHED (1)      The skin is valid. From now on every window of the calling thread is
//                            drawn in it: those that exist and those created later. Calling again
//                            with another valid skin moves the thread's windows to that skin.
//   JEDATA_NOT_ATTACHED (0)  Nothing was changed: a null path; a file that is missing, unreadable
//                            or larger than 1 MiB; one that is truncated, damaged, malformed or of
//                            a newer version; a wrong password; or the system refused the GDI
//                            objects or the thread hook. A skin attached earlier stays in place.
//
// The callee removes its 8 bytes of arguments (stdcall) on 32-bit Windows. The call never throws
// and never ends the process. Once a skin is attached the library stays loaded until the process
// ends (FreeLibrary then has no effect), because the windows it draws call into it.

#ifdef __cplusplus
extern "C" {
#endif

enum {
  JEDATA_NOT_ATTACHED = 0,
  JEDATA_ATTACHED = 1,
};

#if defined(_WIN32)
int __stdcall SkinH_AttachEx(const char* skinPath, const char* password);
typedef int(__stdcall* SkinH_AttachExFunction)(const char* skinPath, const char* password);
#endif

#ifdef __cplusplus
}
#endif
