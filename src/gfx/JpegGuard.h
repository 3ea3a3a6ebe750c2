#pragma once

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t first

#include <jpeglib.h>

// libjpeg reports a fatal error by calling error_exit, which must not return.
// It longjmps back to the setjmp of RunGuarded, a frame that owns nothing, so
// no C++ destructor is ever skipped; the caller throws afterwards.
namespace pagora::jpeg {

struct Errors {
    jpeg_error_mgr Manager;  // first: libjpeg sees only this
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

// Makes info->err report through `errors`: no output on stderr, warnings
// ignored except a premature end of the data, which is fatal.
void InstallErrors(j_common_ptr info, Errors& errors);

// Calls step(info, arg); false when libjpeg failed, its text in the Message.
using Step = void (*)(j_common_ptr info, void* arg);
bool RunGuarded(j_common_ptr info, Step step, void* arg);

}  // namespace pagora::jpeg
