#include "atomicfile.h"

#include <QSaveFile>

namespace vimbrel {

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile f(path);
    bool ok = f.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const qint64 n = f.write(bytes.constData() + done, bytes.size() - done);
        ok = n > 0;
        done += ok ? n : 0;
    }
    if (ok && f.commit())
        return true;
    if (error)
        *error = f.errorString();
    f.cancelWriting();
    return false;
}

} // namespace vimbrel
