// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "autotests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A course folder for the keeper's tests: two questions (of 100 and 0 points, and of 50, 50 and
// 0 points; option i shows as "- вариант i на P баллов") and empty result folders.
class KeeperCourse {
public:
    KeeperCourse() {
        QDir(m_dir.path()).mkpath(QStringLiteral("ortu"));
        QDir(m_dir.path()).mkpath(QStringLiteral("otchet/data1"));
        QDir(m_dir.path()).mkpath(QStringLiteral("otchet/print otchet"));
        QFile file(m_dir.filePath(QStringLiteral("ortu/pdb12.db")));
        if (file.open(QIODevice::WriteOnly))
            file.write(QuestionFileBytes(QStringLiteral("Тест"),
                                         {TestQuestion({100, 0}), TestQuestion({50, 50, 0})}));
    }
    QString Path() const { return m_dir.path(); }
    QString Data(const QString& name) const {
        return m_dir.filePath(QStringLiteral("otchet/data1/%1.txt").arg(name));
    }
    QString Report(const QString& name) const {
        return m_dir.filePath(QStringLiteral("otchet/print otchet/%1.txt").arg(name));
    }

private:
    QTemporaryDir m_dir;
};
