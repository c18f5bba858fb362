// Texts between the engine (UTF-8 std::string) and Qt (QString), and the
// string-table texts of the window in the host client's current language.
#pragma once

#include <cstdint>
#include <string>

#include <QString>

namespace dpx::ui {

inline QString Q(const std::string& text) { return QString::fromStdString(text); }
inline std::string S(const QString& text) { return text.toStdString(); }

// The text of a string id in the host client's current language.
QString Text(uint32_t stringId);

}  // namespace dpx::ui
