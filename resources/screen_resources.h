// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pictures stored with the screens, as Qt resources under ":/pictures/":
// splash.bmp (691 x 451), main_background.jpg, menu_background.jpg, menu_panel.jpg (630 x 368),
// book_frame.jpg, book_title.jpg, back_enabled.bmp / back_disabled.bmp / forward_enabled.bmp /
// forward_disabled.bmp (89 x 16), test_animation.gif (169 x 185), video_frame.jpg (520 x 390),
// video_still.jpg (470 x 350), viewer_backdrop.jpg, viewer_strip.jpg (497 x 34),
// viewer_cover.jpg and credits_1.jpg .. credits_4.jpg (81 x 97).
//
// Linking screen_resources registers them; calling InitScreenResources() as well does no harm
// and may be done any number of times.
void InitScreenResources();
