#pragma once

#include <QIcon>
#include <QSize>
#include <string>

namespace tunx::app {

// The picture of a button as an icon: one of the command buttons' own pictures
// ("builtin:run", "builtin:stop", "builtin:refresh"), or a picture file, named by its full
// path or by its name in the installation folder `installDir`. A file that cannot be read
// gives a null icon (the button then shows its caption only).
QIcon buttonPicture(const std::string& picture, const std::string& installDir);

// The size the command buttons show their pictures at.
inline constexpr QSize kPictureSize{64, 40};

}  // namespace tunx::app
