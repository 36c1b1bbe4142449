// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/supervisor_code.h"

#include <crypt.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace supervisor_code {

namespace {

// Compares without stopping at the first difference, so the time taken says nothing.
bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

std::string WithoutLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

} // namespace

std::string HashCode(const std::string& code) {
    char salt[CRYPT_GENSALT_OUTPUT_SIZE];
    // yescrypt, at libcrypt's default cost; the salt from the system's random source.
    if (crypt_gensalt_rn("$y$", 0, nullptr, 0, salt, sizeof salt) == nullptr)
        return {};
    crypt_data data{};
    const char* hash = crypt_r(code.c_str(), salt, &data);
    if (hash == nullptr || hash[0] == '*')
        return {};
    return hash;
}

bool Matches(const std::string& code, const std::string& hash) {
    const std::string stored = WithoutLineEnd(hash);
    if (stored.empty() || stored[0] != '$')
        return false;
    crypt_data data{};
    const char* computed = crypt_r(code.c_str(), stored.c_str(), &data);
    return computed != nullptr && computed[0] != '*' && SameText(computed, stored);
}

namespace {

// The hash file, opened without following a symbolic link; -1 with errno set when it cannot be.
int OpenHashFile(const std::string& courseFolder) {
    const std::string path = courseFolder + "/" + kHashFileName;
    return ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
}

// Checks code against the open hash file, or against the default code when opening found no
// file.
Verdict CheckAgainst(int file, int openError, const std::string& code) {
    if (file < 0) {
        if (openError == ENOENT)
            return SameText(code, kDefaultCode) ? Verdict::Accepted : Verdict::Refused;
        return Verdict::Unreadable;
    }
    char buffer[512];
    std::string text;
    ssize_t count = 0;
    while ((count = ::read(file, buffer, sizeof buffer)) > 0 && text.size() < 4096)
        text.append(buffer, static_cast<std::size_t>(count));
    if (count < 0)
        return Verdict::Unreadable;
    const std::string firstLine = text.substr(0, text.find('\n'));
    if (WithoutLineEnd(firstLine).empty() || firstLine[0] != '$')
        return Verdict::Unreadable;
    return Matches(code, firstLine) ? Verdict::Accepted : Verdict::Refused;
}

} // namespace

Verdict CheckCode(const std::string& courseFolder, const std::string& code) {
    const int file = OpenHashFile(courseFolder);
    const Verdict verdict = CheckAgainst(file, file < 0 ? errno : 0, code);
    if (file >= 0)
        ::close(file);
    return verdict;
}

Verdict CheckCodeInTurn(const std::string& courseFolder, const std::string& code,
                        const std::function<void()>& wait, const std::string& turnFile) {
    const int file = OpenHashFile(courseFolder);
    if (file < 0)
        return CheckAgainst(file, errno, code);
    const int turns = turnFile.empty() ? -1
                                       : ::open(turnFile.c_str(),
                                                O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0660);
    const int lockOn = turns >= 0 ? turns : file;
    int locked = 0;
    while ((locked = ::flock(lockOn, LOCK_EX)) != 0 && errno == EINTR) {
    }
    Verdict verdict = Verdict::Unreadable;
    if (locked == 0) {
        if (wait)
            wait();
        verdict = CheckAgainst(file, 0, code);
    }
    if (turns >= 0)
        ::close(turns); // and the lock with it
    ::close(file);
    return verdict;
}

bool AcceptableCode(const std::string& code) {
    if (code.size() < 4 || code.size() > 64)
        return false;
    for (const char c : code)
        if (c <= ' ' || c > '~')
            return false;
    return true;
}

} // namespace supervisor_code
