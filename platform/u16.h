#pragma once

#include <QString>
#include <QStringView>

#include <string_view>

namespace morvantel {

// Between the engine's UTF-16 views and Qt's strings, which hold the same
// UTF-16 code units.
inline QString ToQString(std::u16string_view view)
{
    return QStringView(view.data(), static_cast<qsizetype>(view.size())).toString();
}

inline std::u16string_view ToView(const QString& text)
{
    return {QStringView(text).utf16(), static_cast<std::size_t>(text.size())};
}

} // namespace morvantel
