#include "base/themed_controls.h"

#include "base/instance.h"
#include "res/resource.h"

namespace {

// Made once, kept for the life of the process; INVALID_HANDLE_VALUE when it
// could not be made (then it is not tried again).
HANDLE DialogContext;
bool DialogContextTried;

HANDLE DialogContextHandle()
{
    if (!DialogContextTried) {
        DialogContextTried = true;
        ACTCTXA context = {};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.hModule = ModuleInstance;
        context.lpResourceName = MAKEINTRESOURCEA(IDR_DIALOG_MANIFEST);
        DialogContext = CreateActCtxA(&context);
    }
    return DialogContext;
}

} // namespace

ThemedControls::ThemedControls()
{
    HANDLE context = DialogContextHandle();
    if (context != INVALID_HANDLE_VALUE)
        active_ = ActivateActCtx(context, &cookie_) != FALSE;
}

ThemedControls::~ThemedControls()
{
    if (active_)
        DeactivateActCtx(0, cookie_);
}
