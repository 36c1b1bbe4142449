// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// supervisorcode: sets the supervisor's code of a course, the code that ends a control test's
// result display. The course folder gets "supervisor-code.hash" with a salted hash of the code;
// the code itself is stored nowhere.
//
//   supervisorcode COURSE_FOLDER            asks for the new code twice (without echo on a
//                                           terminal; otherwise reads two lines)
//   supervisorcode --default COURSE_FOLDER  removes the hash file: the code is 739152 again
//
// Exit status: 0 done, 1 the codes differ or are not acceptable, 2 the file could not be
// written or removed (or the command line is wrong).

#include "platform/program_version.h"
#include "tests/supervisor_code.h"

#include <QString>

#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

namespace {

const char* const kUsage =
    "Использование: supervisorcode [--default] ПАПКА_КУРСА\n"
    "Задаёт код преподавателя, завершающий контрольное тестирование курса: спрашивает новый код\n"
    "дважды и записывает в папку курса только его хеш (файл supervisor-code.hash).\n"
    "\n"
    "Параметры:\n"
    "  --default      удалить файл хеша: код курса снова 739152\n"
    "  -h, --help     показать эту справку\n"
    "  -v, --version  показать версию программы\n";

std::string ReadLine(const char* prompt) {
    const bool terminal = ::isatty(STDIN_FILENO) != 0;
    termios saved{};
    if (terminal) {
        std::cerr << prompt << std::flush;
        ::tcgetattr(STDIN_FILENO, &saved);
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::cerr << '\n';
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace

int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    if (argc == 2 && (first == "-h" || first == "--help")) {
        std::cout << kUsage;
        return 0;
    }
    if (argc == 2 && (first == "-v" || first == "--version")) {
        std::cout << VersionText(QStringLiteral("supervisorcode")).toStdString();
        return 0;
    }
    const bool toDefault = argc == 3 && first == "--default";
    if ((argc != 2 && !toDefault) || (argc == 2 && first.rfind('-', 0) == 0)) {
        if (argc >= 2 && first.rfind('-', 0) == 0 && first != "--default")
            std::cerr << "Неизвестный параметр «" << first.substr(first.find_first_not_of('-'))
                      << "».\n";
        std::cerr << kUsage;
        return 2;
    }
    const std::string path = std::string(argv[argc - 1]) + "/" + supervisor_code::kHashFileName;
    if (toDefault) {
        if (std::remove(path.c_str()) != 0 && errno != ENOENT) {
            std::cerr << "Не удалось удалить " << path << ": " << std::strerror(errno) << '\n';
            return 2;
        }
        std::cout << "Код курса снова 739152.\n";
        return 0;
    }
    const std::string code = ReadLine("Новый код: ");
    if (!supervisor_code::AcceptableCode(code)) {
        std::cerr << "Код должен состоять из 4–64 печатных латинских букв, цифр или знаков без "
                     "пробелов.\n";
        return 1;
    }
    if (ReadLine("Ещё раз: ") != code) {
        std::cerr << "Коды не совпадают, ничего не изменено.\n";
        return 1;
    }
    const std::string hash = supervisor_code::HashCode(code);
    if (hash.empty()) {
        std::cerr << "Система не смогла вычислить хеш кода.\n";
        return 2;
    }
    const std::string temporary = path + ".new";
    ::umask(027); // the teacher and the checker's group read it, nobody else
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << hash << "\r\n";
        file.close();
        if (!file) {
            std::cerr << "Не удалось записать " << temporary << ": " << std::strerror(errno)
                      << '\n';
            std::remove(temporary.c_str());
            return 2;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::cerr << "Не удалось записать " << path << ": " << std::strerror(errno) << '\n';
        std::remove(temporary.c_str());
        return 2;
    }
    std::cout << "Код задан: " << path
              << "\nВ лаборатории файл должен принадлежать группе course-testing-code с правами "
                 "0640 (см. deployment.md).\n";
    return 0;
}
