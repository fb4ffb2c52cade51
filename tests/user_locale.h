#pragma once
// Runs a test under the user's locale as the window layer sets it up (a Qt application calls
// setlocale(LC_ALL, "") at start). Turkish is the locale where the C library's case mapping of the
// letters i and I differs from plain ASCII, so names compared "in upper case" must not go through it.

#include <clocale>
#include <string>

namespace spectrel::test {

class TurkishLocale {
public:
    TurkishLocale() {
        if (const char* current = std::setlocale(LC_ALL, nullptr)) previous_ = current;
        for (const char* name : {"tr_TR.UTF-8", "tr_TR.utf8", "tr_TR"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                active_ = true;
                break;
            }
        }
    }
    ~TurkishLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    TurkishLocale(const TurkishLocale&) = delete;
    TurkishLocale& operator=(const TurkishLocale&) = delete;

    // False when the system has no Turkish locale installed (the test then skips).
    bool Active() const { return active_; }

private:
    std::string previous_ = "C";
    bool active_ = false;
};

}  // namespace spectrel::test
