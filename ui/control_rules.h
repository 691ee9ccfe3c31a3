#pragma once
// What the control operations decide, apart from the window calls that carry it out. Both the
// native controls and the in-memory model follow these rules.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/layout.h"

namespace zuzar {

// The position a progress bar keeps: the value clamped to 0..32767.
int32_t StoredProgressPosition(int32_t value);
// What the bar shows of a stored position: clamped into the range between the two bounds, the
// smaller one being the minimum whichever way round they were stored.
int32_t ShownProgressPosition(int32_t stored, int32_t minimum, int32_t maximum);

struct EditSelection {
  int32_t start = 0;
  int32_t length = 0;
};
// A write of SelectionStart: -1 means after the last byte of the text with nothing selected; other
// negative values mean 0; the length stays as it was except for -1.
EditSelection SelectionAfterStartWrite(EditSelection current, int32_t value, int32_t textLength);

// The flags word of the open-file dialog (OPENFILENAME.Flags). No hook procedure is installed, so
// OFN_ENABLEHOOK is never part of it: a hook would make Windows fall back to the old-style dialog,
// and the flag without a hook makes the dialog fail (CDERR_NOHOOK).
uint32_t OpenDialogFlagWord(const DialogSettings& settings);
// "name|pattern" pairs as the dialog takes them: trailing white space cut, "||" completed, and every
// separator "|" (a single-byte character, never the trail byte of a GBK pair) turned into NUL. The
// result ends in a double NUL; an empty filter gives an empty result (no filter at all).
std::string DialogFilterList(std::string_view filter);
// The dialog counts its filters from 1; 0 means no filter.
int32_t DialogFilterIndex(int32_t initialFilter, bool hasFilter);

constexpr size_t kDialogFileBufferSize = 260;
constexpr size_t kDialogTitleBufferSize = 64;
// The dialog's file buffer, starting from the last confirmed name, cut to fit with its NUL.
std::array<char, kDialogFileBufferSize> DialogFileBuffer(std::string_view fileName);

// A one-line edit box is at least one text line of its font plus its two edges high.
int32_t OneLineBoxHeight(int32_t height, int32_t lineHeight, int32_t edge);

// The rows a one-line edit box gives its text: one line high, placed at half the spare height
// (rounded down) below the top of the area it would otherwise use. The bands above and below stay
// outside the text area.
struct RowSpan {
  int32_t top;
  int32_t bottom;
};
RowSpan CentredLineRows(RowSpan area, int32_t lineHeight);

// True when `byte` starts a two-byte GBK character.
constexpr bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace zuzar
