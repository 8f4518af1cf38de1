// SPDX-License-Identifier: MIT
#include "keycodes.h"

#include <QKeyEvent>

namespace umbralux {
namespace {

struct KeyCode {
    int qtKey;
    int code;
};

constexpr KeyCode kKeyCodes[] = {
    {Qt::Key_Backspace, 8},      {Qt::Key_Tab, 9},           {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},         {Qt::Key_Return, 13},       {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},         {Qt::Key_Control, 17},      {Qt::Key_Alt, 18},
    {Qt::Key_AltGr, 18},         {Qt::Key_Pause, 19},        {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},        {Qt::Key_Space, 32},        {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},      {Qt::Key_End, 35},          {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},          {Qt::Key_Up, 38},           {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},          {Qt::Key_Select, 41},       {Qt::Key_Print, 44},
    {Qt::Key_Insert, 45},        {Qt::Key_Delete, 46},       {Qt::Key_Help, 47},
    {Qt::Key_Meta, 91},          {Qt::Key_Super_L, 91},      {Qt::Key_Super_R, 92},
    {Qt::Key_Menu, 93},          {Qt::Key_Sleep, 95},        {Qt::Key_Asterisk, 106},
    {Qt::Key_Plus, 187},         {Qt::Key_NumLock, 144},     {Qt::Key_ScrollLock, 145},
    {Qt::Key_Semicolon, 186},    {Qt::Key_Equal, 187},       {Qt::Key_Comma, 188},
    {Qt::Key_Minus, 189},        {Qt::Key_Period, 190},      {Qt::Key_Slash, 191},
    {Qt::Key_QuoteLeft, 192},    {Qt::Key_BracketLeft, 219}, {Qt::Key_Backslash, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_Apostrophe, 222},
};

} // namespace

int keyCodeForQtKey(int qtKey) {
    if (qtKey == 0)
        return kKeyCodeNone;
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey; // the same numbers as the capitals and digits
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    for (const KeyCode& entry : kKeyCodes) {
        if (entry.qtKey == qtKey)
            return entry.code;
    }
    return kKeyCodeOther;
}

int keyCodeFor(const QKeyEvent& event) {
    if (event.key() == 0 && event.nativeScanCode() == 0 && event.text().isEmpty())
        return kKeyCodeNone;
    return keyCodeForQtKey(event.key() == 0 ? Qt::Key_unknown : event.key());
}

} // namespace umbralux
