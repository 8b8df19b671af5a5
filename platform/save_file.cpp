#include "platform/save_file.h"

#include "base/errors.h"
#include "base/file_write.h"

#include <QBuffer>
#include <QFile>

namespace telvara {

void writeFile(const QString& fileName, const std::function<bool(QIODevice&)>& write) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!write(buffer))
        throw IoError("ファイル " + fileName.toStdString() + " に書き込めません");
    buffer.close();
    writeFileWhole(QFile::encodeName(fileName).toStdString(),
                   std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

} // namespace telvara
