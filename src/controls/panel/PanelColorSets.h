#pragma once

#include "platform/Color.h"

#include <array>

namespace clipnab {

// The panel's six colours; a built-in colour set assigns them all at once.
struct PanelColorSet
{
    OleColor headerLight = 0;
    OleColor headerDark = 0;
    OleColor backLight = 0;
    OleColor backDark = 0;
    OleColor border = 0;
    OleColor text = 0;
    friend bool operator==(const PanelColorSet &, const PanelColorSet &) = default;
};

// The panel's twelve built-in colour sets, chosen through its Theme property.
inline constexpr std::array<PanelColorSet, 12> kPanelColorSets{{
    {0xF7E0D3, 0xEDC5A7, 0xFCF4EF, 0xFAE8DC, 0xDCC1AD, 0x7B2D02},
    {0xECDCD3, 0xDABAA8, 0xF8F2EF, 0xF1E5DD, 0xD6B4A0, 0x4B2A17},
    {0xD8E5C8, 0xB1CB92, 0xF1F5EB, 0xE1EBD5, 0xAAC688, 0x213B00},
    {0xE0EAE8, 0xC2D6D1, 0xF4F8F7, 0xE7EFED, 0xBCD3CD, 0x324741},
    {0xF1E3C8, 0xE4C992, 0xFAF5EB, 0xF5EAD5, 0xE2C488, 0x553900},
    {0xDAF2E3, 0xB5E5C8, 0xF1FAF5, 0xE3F5EA, 0xAEE3C3, 0x245738},
    {0xD2E2FD, 0xA7C6FA, 0xEFF5FE, 0xDDE9FD, 0x9FC0FA, 0x16366D},
    {0xE3E3D6, 0xC9C9AE, 0xF5F5F0, 0xEAEAE0, 0xC4C4A6, 0x39391D},
    {0xEAD7DF, 0xD5B0BF, 0xF7F1F3, 0xEFE1E6, 0xD1A9B9, 0x46202F},
    {0xD6D2FB, 0xAEA6F8, 0xF0EFFE, 0xE0DDFC, 0xA79EF7, 0x1D156A},
    {0xECEAE9, 0xD9D6D3, 0xF8F7F7, 0xF1EFEE, 0xD6D2CF, 0x4A4744},
    {0xE4FAFC, 0xB9EEF4, 0xEEFCFD, 0xDCF7FA, 0x95E1EA, 0x66D5E1},
}};

// Colours of a new panel.
inline constexpr PanelColorSet kPanelDefaultColors = kPanelColorSets[0];

} // namespace clipnab
