#pragma once
// For tests: the process's numeric locale switched to German, whose strtod reads "2,5" as 2.5
// and stops at "2.5", for as long as the object lives. When the machine has no German locale
// installed, one is compiled into a scratch folder with localedef; active() says whether the
// switch took place.
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <stdlib.h>  // mkdtemp, setenv, unsetenv (POSIX)

namespace kavrino {

class GermanNumericLocale {
public:
    GermanNumericLocale() : m_saved(std::setlocale(LC_NUMERIC, nullptr)) {
        m_active = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
        if (!m_active && mkdtemp(m_scratch.data()) != nullptr) {
            m_made = true;
            const std::string build = "localedef -i de_DE -f UTF-8 " + m_scratch + "/de_DE.UTF-8 >/dev/null 2>&1";
            if (std::system(build.c_str()) == 0 && setenv("LOCPATH", m_scratch.c_str(), 1) == 0)
                m_active = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
        }
    }
    ~GermanNumericLocale() {
        std::setlocale(LC_NUMERIC, m_saved.c_str());
        if (m_made) {
            unsetenv("LOCPATH");
            std::filesystem::remove_all(m_scratch);
        }
    }
    GermanNumericLocale(const GermanNumericLocale&) = delete;
    GermanNumericLocale& operator=(const GermanNumericLocale&) = delete;

    bool active() const { return m_active; }

private:
    std::string m_saved;
    std::string m_scratch = "/tmp/kavrino-locale-XXXXXX";
    bool m_active = false;
    bool m_made = false;
};

}  // namespace kavrino
