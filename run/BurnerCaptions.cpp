#include "BurnerCaptions.h"

const FlameCycleEntry ENDS_FLAME_CYCLE[4] = {
    {ENDS_CAPTION_OFF, FLAME_OFF, ENDS_CAPTION_STRONG},
    {ENDS_CAPTION_STRONG, FLAME_STRONG, ENDS_CAPTION_MEDIUM},
    {ENDS_CAPTION_MEDIUM, FLAME_MEDIUM, ENDS_CAPTION_WEAK},
    {ENDS_CAPTION_WEAK, FLAME_WEAK, ENDS_CAPTION_OFF},
};
const FlameCycleEntry CENTRE_FLAME_CYCLE[4] = {
    {CENTRE_CAPTION_OFF, FLAME_OFF, CENTRE_CAPTION_STRONG},
    {CENTRE_CAPTION_STRONG, FLAME_STRONG, CENTRE_CAPTION_MEDIUM},
    {CENTRE_CAPTION_MEDIUM, FLAME_MEDIUM, CENTRE_CAPTION_WEAK},
    {CENTRE_CAPTION_WEAK, FLAME_WEAK, CENTRE_CAPTION_OFF},
};

namespace {
const char* CaptionAt(const FlameCycleEntry (&cycle)[4], int level) {
    for (const FlameCycleEntry& entry : cycle) {
        if (entry.level == level) {
            return entry.nextCaption;
        }
    }
    return "";
}
}  // namespace

const char* EndsFlameCaption(int level) {
    return CaptionAt(ENDS_FLAME_CYCLE, level);
}

const char* CentreFlameCaption(int level) {
    return CaptionAt(CENTRE_FLAME_CYCLE, level);
}
