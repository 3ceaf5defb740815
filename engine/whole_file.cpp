#include "engine/whole_file.h"

#include "base/replacement_file.h"
#include "base/text_encoding.h"

namespace tamrivo {

bool writeWholeFile(const Text& path, const std::function<bool(const QString& partial)>& write) {
    ReplacementFile file;
    const std::string target = gbkToUtf8(path);
    if (target.empty() || file.create(target)) {
        return false;
    }
    return write(QString::fromStdString(file.path().string())) && !file.commit();
}

}  // namespace tamrivo
