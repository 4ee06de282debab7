#include "app/ports/gbk.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

namespace dlt::gui {

QString fromGbk(std::string_view bytes) {
    QStringDecoder decoder("GBK");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toGbk(const QString& text) {
    QStringEncoder encoder("GBK");
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace dlt::gui
