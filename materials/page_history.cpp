// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "materials/page_history.h"

#include <algorithm>

bool PageHistory::BeforeNavigate(const QString& address) {
    const bool fromLink = m_navigationSource == kFromLink;
    if (fromLink) {
        const int position = std::clamp(m_historyIndex, 0, int(m_entries.size()));
        m_entries.insert(position, address);
    }
    m_navigationSource = kFromLink;
    return fromLink;
}

void PageHistory::Withdraw(const QString& address) {
    const int position = std::clamp(m_historyIndex, 0, int(m_entries.size()) - 1);
    if (position >= 0 && m_entries.at(position) == address)
        m_entries.removeAt(position);
}

QString PageHistory::Back() {
    if (!BackEnabled())
        return QString();
    m_navigationSource = kFromBackForward;
    ++m_historyIndex;
    return m_entries.value(m_historyIndex);
}

QString PageHistory::Forward() {
    if (!ForwardEnabled())
        return QString();
    m_navigationSource = kFromBackForward;
    --m_historyIndex;
    return m_entries.value(m_historyIndex);
}
