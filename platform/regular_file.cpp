// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/regular_file.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <algorithm>
#include <cerrno>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString WithCode(const QString& text, int code) {
    return QStringLiteral("%1 (код %2)").arg(text).arg(code);
}

#ifndef Q_OS_WIN

// Closes a descriptor when it goes out of scope unless it was handed on.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

QString KindOf(const struct stat& info) {
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("это символическая ссылка, а не файл");
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("это папка, а не файл");
    if (S_ISFIFO(info.st_mode))
        return QStringLiteral("это канал, а не файл");
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return QStringLiteral("это устройство, а не файл");
    if (S_ISSOCK(info.st_mode))
        return QStringLiteral("это сокет, а не файл");
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("это не обычный файл");
    if (info.st_nlink > 1)
        return QStringLiteral(
            "у файла есть другие имена (жёсткая ссылка), запись в него запрещена");
    return QString();
}

// Opens the folder itself, refusing a symbolic link in its place. Returns -1 with *reason set.
int OpenFolder(const QString& folder, QString* reason) {
    const QByteArray path = QFile::encodeName(folder);
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0)
        return fd;
    const int code = errno;
    struct stat info {};
    const bool link = ::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode);
    if (code == ENOENT)
        *reason = QStringLiteral("нет папки ") + folder;
    else if (code == ELOOP || link)
        *reason =
            QStringLiteral("папка %1 — символическая ссылка, запись в неё запрещена").arg(folder);
    else if (code == ENOTDIR)
        *reason = QStringLiteral("%1 — не папка").arg(folder);
    else
        *reason = QStringLiteral("папка %1 не открывается: %2").arg(folder, SystemErrorText(code));
    return -1;
}

#endif

} // namespace

QString CheckOutputFolder(const QString& folder) {
#ifdef Q_OS_WIN
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(folder.utf16()));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return QStringLiteral("нет папки ") + folder;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return QStringLiteral("папка %1 — символическая ссылка, запись в неё запрещена")
            .arg(folder);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return QStringLiteral("%1 — не папка").arg(folder);
    return QString();
#else
    QString reason;
    Descriptor fd(OpenFolder(folder, &reason));
    return reason;
#endif
}

namespace {
bool IsOneName(const QString& fileName) {
    return !(fileName.isEmpty() || fileName.contains(QLatin1Char('/')) ||
             fileName.contains(QLatin1Char('\\')) || fileName == QLatin1String(".") ||
             fileName == QLatin1String(".."));
}
} // namespace

QString CheckOutputFile(const QString& folder, const QString& fileName) {
    if (!IsOneName(fileName))
        return QStringLiteral("недопустимое имя файла");
#ifdef Q_OS_WIN
    const QString reason = CheckOutputFolder(folder);
    if (!reason.isEmpty())
        return reason;
    const QString path = QDir::toNativeSeparators(folder + QLatin1Char('/') + fileName);
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(path.utf16()));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return QString();
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return QStringLiteral("это символическая ссылка, а не файл");
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return QStringLiteral("это папка, а не файл");
    return QString();
#else
    QString reason;
    const Descriptor folderFd(OpenFolder(folder, &reason));
    if (folderFd.get() < 0)
        return reason;
    struct stat info {};
    if (::fstatat(folderFd.get(), QFile::encodeName(fileName).constData(), &info,
                  AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? QString() : SystemErrorText(errno);
    return KindOf(info);
#endif
}

namespace {

#ifdef Q_OS_WIN

// Empty when the handle leads to a regular file with no other name, which WriteMode::Replace
// then empties; otherwise the reason.
QString CheckOpenedHandle(HANDLE handle, WriteMode mode) {
    BY_HANDLE_FILE_INFORMATION info{};
    QString kind;
    if (GetFileType(handle) != FILE_TYPE_DISK)
        kind = QStringLiteral("это устройство, а не файл");
    else if (!GetFileInformationByHandle(handle, &info))
        kind = SystemErrorText(int(GetLastError()));
    else if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        kind = QStringLiteral("это символическая ссылка, а не файл");
    else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        kind = QStringLiteral("это папка, а не файл");
    else if (info.nNumberOfLinks > 1)
        kind =
            QStringLiteral("у файла есть другие имена (жёсткая ссылка), запись в него запрещена");
    if (kind.isEmpty() && mode == WriteMode::Replace &&
        !(SetFilePointerEx(handle, LARGE_INTEGER{}, nullptr, FILE_BEGIN) && SetEndOfFile(handle)))
        kind = SystemErrorText(int(GetLastError()));
    return kind;
}

// The same checks through the handle Windows gives: a reparse point (symbolic link,
// junction) is opened as itself, never followed, and the opened file is checked.
QString OpenOnWindows(const QString& folder, const QString& fileName, WriteMode mode,
                      QIODevice::OpenMode qtMode, QFile* file) {
    const QString reason = CheckOutputFolder(folder);
    if (!reason.isEmpty())
        return reason;
    const QString path = QDir::toNativeSeparators(folder + QLatin1Char('/') + fileName);
    const DWORD access = mode == WriteMode::Append
                             ? (FILE_APPEND_DATA | SYNCHRONIZE | FILE_READ_ATTRIBUTES)
                             : (GENERIC_WRITE | FILE_READ_ATTRIBUTES);
    HANDLE handle =
        CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), access, FILE_SHARE_READ, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return SystemErrorText(int(GetLastError()));
    const QString kind = CheckOpenedHandle(handle, mode);
    if (!kind.isEmpty()) {
        CloseHandle(handle);
        return kind;
    }
    const int fd =
        _open_osfhandle(reinterpret_cast<intptr_t>(handle),
                        _O_WRONLY | _O_BINARY | (mode == WriteMode::Append ? _O_APPEND : 0));
    if (fd < 0) {
        CloseHandle(handle);
        return SystemErrorText(int(ERROR_TOO_MANY_OPEN_FILES));
    }
    if (!file->open(fd, qtMode, QFileDevice::AutoCloseHandle)) {
        _close(fd);
        return file->errorString();
    }
    return QString();
}

#else

// What stands under the name now: anything but a regular file is refused without being
// opened (opening a device can already do something). Sets *existed and, when something
// stands there, *before; returns the reason for a refusal, else an empty string.
QString CheckBeforeOpening(int folderFd, const QByteArray& name, struct stat* before,
                           bool* existed) {
    *existed = ::fstatat(folderFd, name.constData(), before, AT_SYMLINK_NOFOLLOW) == 0;
    if (!*existed && errno != ENOENT)
        return SystemErrorText(errno);
    if (*existed) {
        const QString kind = KindOf(*before);
        if (!kind.isEmpty())
            return kind;
    }
    return QString();
}

// Opens the name inside the opened folder. Whatever the name leads to at the moment of the
// open: a symbolic link fails (ELOOP), a pipe without a reader fails at once (ENXIO) instead of
// waiting. Returns -1 with *reason set.
int OpenInFolder(int folderFd, const QByteArray& name, WriteMode mode, QString* reason) {
    const int flags = O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY |
                      (mode == WriteMode::Append ? O_APPEND : 0);
    // An appended file is opened for reading too where it may be, so that the writer can see
    // how its last line ends (LastBytes); a file it may only write is written all the same.
    int fd = -1;
    if (mode == WriteMode::Append)
        fd = ::openat(folderFd, name.constData(), flags | O_RDWR, 0666);
    if (fd < 0 && (mode != WriteMode::Append || errno == EACCES))
        fd = ::openat(folderFd, name.constData(), flags | O_WRONLY, 0666);
    if (fd < 0) {
        const int code = errno;
        if (code == ELOOP)
            *reason = QStringLiteral("это символическая ссылка, а не файл");
        else if (code == ENXIO)
            *reason = QStringLiteral("это канал или устройство, а не файл");
        else
            *reason = SystemErrorText(code);
    }
    return fd;
}

// What was opened, checked through the descriptor itself: a regular file with no other name,
// and the very file that stood under the name before the open, if one did.
QString CheckOpenedFile(int fd, bool existed, const struct stat& before) {
    struct stat opened {};
    if (::fstat(fd, &opened) != 0)
        return SystemErrorText(errno);
    const QString kind = KindOf(opened);
    if (!kind.isEmpty())
        return kind;
    if (existed && (opened.st_dev != before.st_dev || opened.st_ino != before.st_ino))
        return QStringLiteral("файл был подменён во время открытия");
    return QString();
}

// Makes the checked file's writes blocking again and empties it for WriteMode::Replace.
QString PrepareForWriting(int fd, WriteMode mode) {
    // A regular file ignores the flag, but writes must never return half done for it.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (mode == WriteMode::Replace && ::ftruncate(fd, 0) != 0)
        return SystemErrorText(errno);
    return QString();
}

QString OpenOnPosix(const QString& folder, const QString& fileName, WriteMode mode,
                    QIODevice::OpenMode qtMode, QFile* file) {
    QString reason;
    const Descriptor folderFd(OpenFolder(folder, &reason));
    if (folderFd.get() < 0)
        return reason;
    const QByteArray name = QFile::encodeName(fileName);
    struct stat before {};
    bool existed = false;
    if (const QString problem = CheckBeforeOpening(folderFd.get(), name, &before, &existed);
        !problem.isEmpty())
        return problem;
    Descriptor fd(OpenInFolder(folderFd.get(), name, mode, &reason));
    if (fd.get() < 0)
        return reason;
    if (const QString problem = CheckOpenedFile(fd.get(), existed, before); !problem.isEmpty())
        return problem;
    if (const QString problem = PrepareForWriting(fd.get(), mode); !problem.isEmpty())
        return problem;
    if (!file->open(fd.get(), qtMode, QFileDevice::AutoCloseHandle))
        return file->errorString();
    fd.release();
    return QString();
}

#endif

} // namespace

QString OpenRegularFileForWriting(const QString& folder, const QString& fileName, WriteMode mode,
                                  QFile* file) {
    if (!IsOneName(fileName))
        return QStringLiteral("недопустимое имя файла");
    QIODevice::OpenMode qtMode = QIODevice::WriteOnly;
    if (mode == WriteMode::Append)
        qtMode |= QIODevice::Append;
#ifdef Q_OS_WIN
    return OpenOnWindows(folder, fileName, mode, qtMode, file);
#else
    return OpenOnPosix(folder, fileName, mode, qtMode, file);
#endif
}

QString OpenRegularFileForReading(const QString& path, QFile* file, bool* notOpened) {
    if (notOpened)
        *notOpened = false;
#ifdef Q_OS_WIN
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(path.utf16()));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return QStringLiteral("это папка, а не файл");
    if (file->open(QIODevice::ReadOnly))
        return QString();
    if (notOpened)
        *notOpened = true;
    return file->errorString();
#else
    // Opened without waiting: a pipe opens at once and is refused below with the other kinds.
    Descriptor fd(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        const int code = errno;
        if (notOpened)
            *notOpened = true;
        return SystemErrorText(code);
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return SystemErrorText(errno);
    if (!S_ISREG(info.st_mode)) {
        const QString kind = KindOf(info);
        return kind.isEmpty() ? QStringLiteral("это не обычный файл") : kind;
    }
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    if (!file->open(fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return file->errorString();
    fd.release();
    return QString();
#endif
}

QString CheckStillNamed(QFileDevice* file, const QString& folder, const QString& fileName) {
    if (file == nullptr || !file->isOpen() || file->handle() < 0)
        return QStringLiteral("файл не открыт");
    const QString path = folder + QLatin1Char('/') + fileName;
#ifdef Q_OS_WIN
    const auto opened = reinterpret_cast<HANDLE>(_get_osfhandle(file->handle()));
    BY_HANDLE_FILE_INFORMATION ours{};
    if (!GetFileInformationByHandle(opened, &ours))
        return SystemErrorText(int(GetLastError()));
    HANDLE named =
        CreateFileW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()),
                    FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (named == INVALID_HANDLE_VALUE) {
        if (!CheckOutputFolder(folder).isEmpty())
            return QStringLiteral("папка %1 удалена").arg(folder);
        return QStringLiteral("файл удалён");
    }
    BY_HANDLE_FILE_INFORMATION now{};
    const bool same = GetFileInformationByHandle(named, &now) &&
                      now.dwVolumeSerialNumber == ours.dwVolumeSerialNumber &&
                      now.nFileIndexHigh == ours.nFileIndexHigh &&
                      now.nFileIndexLow == ours.nFileIndexLow;
    CloseHandle(named);
    return same ? QString() : QStringLiteral("файл заменён другим файлом");
#else
    struct stat ours {};
    if (::fstat(file->handle(), &ours) != 0)
        return SystemErrorText(errno);
    struct stat named {};
    if (::lstat(QFile::encodeName(path).constData(), &named) != 0) {
        const int code = errno;
        if (code != ENOENT && code != ENOTDIR)
            return SystemErrorText(code);
        struct stat folderInfo {};
        if (::lstat(QFile::encodeName(folder).constData(), &folderInfo) != 0)
            return QStringLiteral("папка %1 удалена").arg(folder);
        return QStringLiteral("файл удалён");
    }
    if (named.st_dev != ours.st_dev || named.st_ino != ours.st_ino || ours.st_nlink == 0)
        return QStringLiteral("файл заменён другим файлом");
    return QString();
#endif
}

QByteArray LastBytes(QFileDevice* file, int count) {
    if (file == nullptr || !file->isOpen() || file->handle() < 0 || count <= 0)
        return {};
#ifdef Q_OS_WIN
    // Windows opens an appended file for appending only; its end is not read back.
    return {};
#else
    struct stat info {};
    if (::fstat(file->handle(), &info) != 0 || info.st_size == 0)
        return {};
    const off_t from = std::max<off_t>(0, info.st_size - count);
    QByteArray bytes(qsizetype(info.st_size - from), '\0');
    const ssize_t read = ::pread(file->handle(), bytes.data(), size_t(bytes.size()), from);
    if (read < 0)
        return {};
    bytes.truncate(read);
    return bytes;
#endif
}

namespace {

// The descriptor of an open file with everything handed to the system, or -1 with *reason set.
int FlushedDescriptor(QFileDevice* file, QString* reason) {
    if (file == nullptr || !file->isOpen()) {
        *reason = QStringLiteral("файл не открыт");
        return -1;
    }
    errno = 0;
    if (!file->flush()) {
        *reason = errno != 0 ? SystemErrorText(errno) : file->errorString();
        return -1;
    }
    const int fd = file->handle();
    if (fd < 0)
        *reason = QStringLiteral("у файла нет описателя системы");
    return fd;
}

// Waits until the data of an open descriptor is on the disk. Safe on any thread.
int SyncDescriptor(int fd) {
#ifdef Q_OS_WIN
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    return FlushFileBuffers(handle) ? 0 : int(GetLastError());
#elif defined(Q_OS_MACOS)
    return ::fsync(fd) == 0 ? 0 : errno;
#else
    return ::fdatasync(fd) == 0 ? 0 : errno;
#endif
}

} // namespace

QString SyncToDisk(QFileDevice* file) {
    return SyncToDisk(QList<QFileDevice*>{file}).constFirst();
}

namespace {
DiskSyncHook g_syncHook;
} // namespace

void SetDiskSyncHookForTesting(DiskSyncHook hook) {
    g_syncHook = std::move(hook);
}

QStringList SyncToDisk(const QList<QFileDevice*>& files) {
    QStringList reasons;
    std::vector<int> fds;
    for (QFileDevice* file : files) {
        QString reason;
        fds.push_back(FlushedDescriptor(file, &reason));
        reasons << reason;
    }
    std::vector<int> codes(fds.size(), 0);
    if (g_syncHook) {
        for (size_t i = 0; i < fds.size(); ++i) {
            if (fds[i] >= 0)
                codes[i] = g_syncHook(*files[qsizetype(i)]);
        }
    }
    std::vector<std::thread> helpers;
    for (size_t i = 0; i < fds.size(); ++i) {
        if (fds[i] < 0 || codes[i] != 0)
            continue;
        if (i + 1 < fds.size())
            helpers.emplace_back([&codes, &fds, i] { codes[i] = SyncDescriptor(fds[i]); });
        else
            codes[i] = SyncDescriptor(fds[i]);
    }
    for (std::thread& helper : helpers)
        helper.join();
    for (size_t i = 0; i < fds.size(); ++i) {
        if (fds[i] >= 0 && codes[i] != 0)
            reasons[qsizetype(i)] = SystemErrorText(codes[i]);
    }
    return reasons;
}

QString SystemErrorText(int code) {
    if (code == 0)
        return QStringLiteral("система не сообщила причину");
    const std::error_code error(code, std::system_category());
    using std::errc;
    const struct {
        errc condition;
        const char16_t* text;
    } known[] = {
        {errc::no_space_on_device, u"на диске нет места"},
        {errc::read_only_file_system, u"диск доступен только для чтения"},
        {errc::permission_denied, u"нет прав на запись"},
        {errc::operation_not_permitted, u"нет прав на запись"},
        {errc::io_error, u"ошибка ввода-вывода на диске или в сети"},
        {errc::file_too_large, u"файл слишком велик"},
        {errc::filename_too_long, u"слишком длинное имя файла"},
        {errc::no_such_file_or_directory, u"файл или папка не найдены"},
        {errc::is_a_directory, u"это папка, а не файл"},
        {errc::too_many_symbolic_link_levels, u"это символическая ссылка, а не файл"},
        {errc::timed_out, u"сервер не ответил вовремя"},
        {errc::host_unreachable, u"нет связи с сервером"},
        {errc::network_unreachable, u"нет связи с сервером"},
        {errc::network_down, u"нет связи с сервером"},
        {errc::not_connected, u"нет связи с сервером"},
        {errc::connection_reset, u"связь с сервером прервана"},
        {errc::connection_aborted, u"связь с сервером прервана"},
        {errc::too_many_files_open, u"открыто слишком много файлов"},
        {errc::invalid_argument, u"файл не поддерживает эту операцию"},
    };
    for (const auto& entry : known) {
        if (error == entry.condition)
            return WithCode(QString::fromUtf16(entry.text), code);
    }
#ifdef EDQUOT
    if (code == EDQUOT)
        return WithCode(QStringLiteral("превышена дисковая квота"), code);
#endif
#ifdef ESTALE
    if (code == ESTALE)
        return WithCode(QStringLiteral("файл на сервере стал недоступен"), code);
#endif
    QString text = QString::fromStdString(error.message()).trimmed();
    if (text.isEmpty() || text.startsWith(QLatin1String("Unknown error"), Qt::CaseInsensitive))
        text = QStringLiteral("ошибка системы");
    return WithCode(text, code);
}
