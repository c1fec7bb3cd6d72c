#include "watch/viewer_text.h"

#include "anim/flc_facts.h"
#include "base/text.h"

namespace {

const char* SpeedText(ViewerSpeed speed)
{
    switch (speed) {
    case ViewerSpeed::Half: return ", Tempo \xBD\xD7";
    case ViewerSpeed::Double: return ", Tempo 2\xD7";
    case ViewerSpeed::Quadruple: return ", Tempo 4\xD7";
    default: return "";
    }
}

} // namespace

bool FormatViewerStatus(char (&text)[kViewerStatusSize], const ViewerStatus& status, const char* damagedFormat)
{
    char duration[32];
    FormatFlcDuration(duration, sizeof duration, status.info);
    bool fitted = FormatText(text, "Bild %d von %d, %d \xD7 %d, %s, %d %%", status.frame, status.info.frames,
                             status.info.width, status.info.height, duration, status.percent);
    if (status.tallPixels)
        fitted = AppendText(text, ", Pixel 6:5") && fitted;
    if (status.paused)
        fitted = AppendText(text, ", Pause") && fitted;
    fitted = AppendText(text, SpeedText(status.speed)) && fitted;
    if (status.playingAll)
        fitted = AppendText(text, ", alle abspielen") && fitted;
    if (status.damagedAt > 0) {
        char damaged[kViewerStatusSize];
        fitted = FormatText(damaged, damagedFormat, status.damagedAt) && AppendText(text, damaged) && fitted;
    }
    return fitted;
}

const char* ViewerFileName(const char* path)
{
    const char* name = path;
    for (const char* at = path; *at != '\0'; ++at) {
        if (*at == '\\' || *at == '/')
            name = at + 1;
    }
    return name;
}
