#pragma once

// Makes the user's environment locale the C++ library's global locale.
// An environment that names a locale the library cannot build leaves the
// classic locale in place (and gives false) instead of stopping the program.
bool installEnvironmentLocale();
