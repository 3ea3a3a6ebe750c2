#include "gfx/JpegGuard.h"

#include <jerror.h>

namespace pagora::jpeg {

namespace {

[[noreturn]] void ErrorExit(j_common_ptr info) {
    auto* errors = reinterpret_cast<Errors*>(info->err);
    (*info->err->format_message)(info, errors->Message);
    std::longjmp(errors->Jump, 1);
}

// libjpeg pads a truncated stream with grey and calls it a warning; a picture
// half grey is damage, not a picture.
void EmitMessage(j_common_ptr info, int level) {
    if (level < 0) {
        info->err->num_warnings++;
        if (info->err->msg_code == JWRN_JPEG_EOF)
            ErrorExit(info);
    }
}

void OutputMessage(j_common_ptr) {}

}  // namespace

void InstallErrors(j_common_ptr info, Errors& errors) {
    info->err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = ErrorExit;
    errors.Manager.emit_message = EmitMessage;
    errors.Manager.output_message = OutputMessage;
    errors.Message[0] = '\0';
}

[[gnu::noinline]] bool RunGuarded(j_common_ptr info, Step step, void* arg) {
    auto* errors = reinterpret_cast<Errors*>(info->err);
    if (setjmp(errors->Jump) != 0)
        return false;
    step(info, arg);
    return true;
}

}  // namespace pagora::jpeg
