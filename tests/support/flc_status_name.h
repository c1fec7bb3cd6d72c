// A reader's answer by name, for test messages that say what came.
#pragma once

#include "anim/flc_decode.h"

inline const char* FlcStatusName(FlcStatus status)
{
    switch (status) {
    case FlcStatus::Frame: return "Frame";
    case FlcStatus::End: return "End";
    case FlcStatus::NotFlc: return "NotFlc";
    case FlcStatus::TooLarge: return "TooLarge";
    case FlcStatus::Damaged: return "Damaged";
    case FlcStatus::NoMemory: return "NoMemory";
    }
    return "?";
}
