#pragma once
#include <QString>

// The laboratory's logo printed on the reports: Logo.bmp beside the program.
namespace logofile {

QString path();

} // namespace logofile
