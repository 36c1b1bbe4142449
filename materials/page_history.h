// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// The textbook's page history: addresses newest first, a current position, and where the next
// navigation comes from. Following a link after going back inserts the new page at the current
// position, so back returns to the page the link was on and forward still reaches the pages
// that were ahead.
class PageHistory {
public:
    /// Where the next navigation comes from.
    static constexpr std::uint8_t kFromLink = 1;        // a link or the program itself
    static constexpr std::uint8_t kFromBackForward = 2; // the back or forward button

    const QStringList& Entries() const { return m_entries; }
    int HistoryIndex() const { return m_historyIndex; }
    std::uint8_t NavigationSource() const { return m_navigationSource; }
    void SetNavigationSource(std::uint8_t source) { m_navigationSource = source; }

    /// Runs before every navigation. A navigation from a link or the program is recorded at the
    /// current position and true is returned (the caller then interprets the address); one from
    /// the back or forward button is not. Afterwards the next navigation counts as a link again.
    bool BeforeNavigate(const QString& address);

    /// Takes back the entry just recorded for address when that navigation loaded nothing (it
    /// turned out to be a download): the history is as it was before.
    void Withdraw(const QString& address);

    /// The entry the history shows as current (0 when the position is -1).
    int SelectedIndex() const { return m_historyIndex == -1 ? 0 : m_historyIndex; }
    /// An older entry exists behind the selected one.
    bool BackEnabled() const { return SelectedIndex() < m_entries.size() - 1; }
    /// A newer entry exists ahead of the selected one.
    bool ForwardEnabled() const { return SelectedIndex() > 0; }

    /// Steps one entry back (older) or forward (newer) and returns the address to open; the
    /// navigation that follows is not recorded. Empty when there is no such entry.
    QString Back();
    QString Forward();

private:
    QStringList m_entries;
    int m_historyIndex = 0;
    std::uint8_t m_navigationSource = kFromLink;
};
