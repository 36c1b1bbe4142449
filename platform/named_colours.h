// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The colours more than one screen uses, named once: the system's standard colours the screens
// are drawn in, and the program's own shared colours. A colour only one screen uses stays there.
namespace Colours {

inline constexpr QColor kNavy{0x00, 0x00, 0x80};
inline constexpr QColor kMaroon{0x80, 0x00, 0x00};
inline constexpr QColor kBlue{0x00, 0x00, 0xFF};
inline constexpr QColor kRed{0xFF, 0x00, 0x00};
inline constexpr QColor kGreen{0x00, 0x80, 0x00};
inline constexpr QColor kLime{0x00, 0xFF, 0x00};
inline constexpr QColor kAqua{0x00, 0xFF, 0xFF};
inline constexpr QColor kYellow{0xFF, 0xFF, 0x00};
inline constexpr QColor kWhite{0xFF, 0xFF, 0xFF};
inline constexpr QColor kGrey{0x80, 0x80, 0x80};
inline constexpr QColor kLight3D{0xE3, 0xE3, 0xE3};

/// A toggle button under the mouse (start bar, menu, "Старт видео").
inline constexpr QColor kHover{0x66, 0xE2, 0xFD};
/// The face of the start bar's buttons and of "Старт видео".
inline constexpr QColor kToggleFace{0xFF, 0xB7, 0x6F};
/// A display area for video fragments and pictures.
inline constexpr QColor kDisplayArea{0x85, 0xC4, 0xFC};
/// The background of the training and control screens.
inline constexpr QColor kTestBackground{0xC6, 0xFF, 0xD1};
/// The background of the administration and credits screens.
inline constexpr QColor kPaleBlue{0xDD, 0xEF, 0xFF};

} // namespace Colours
