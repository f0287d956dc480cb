#include "EnvironmentLocale.h"

#include <locale>
#include <stdexcept>

bool installEnvironmentLocale()
{
    try {
        std::locale::global(std::locale(""));
        return true;
    } catch (const std::runtime_error &) {
        std::locale::global(std::locale::classic());
        return false;
    }
}
