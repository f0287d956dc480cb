#pragma once

#include <QIcon>

// An icon from an image file that is read only when a picture of the icon is
// first needed. QIcon reads the whole image as soon as a file is added,
// which for the maker's 2126 x 772 logo costs every start of the program
// about as much as the rest of the window; the logo only shows once the
// Help menu opens.
QIcon lazyImageIcon(const QString &fileName);
