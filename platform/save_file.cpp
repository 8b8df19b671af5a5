#include "platform/save_file.h"

#include "base/errors.h"

#include <QSaveFile>

namespace telvara {

void writeFile(const QString& fileName, const std::function<bool(QIODevice&)>& write) {
    const std::string name = fileName.toStdString();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw IoError("ファイル " + name + " を作成できません");
    if (!write(file)) {
        file.cancelWriting();
        throw IoError("ファイル " + name + " に書き込めません");
    }
    if (!file.commit())
        throw IoError("ファイル " + name + " に書き込めません");
}

} // namespace telvara
