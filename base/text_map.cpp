#include "base/text_map.h"

#include <algorithm>

#include "base/text_ops.h"

namespace tamrivo {

int TextMap::indexOf(const Text& key) const {
    const auto found = std::find_if(pairs_.begin(), pairs_.end(),
                                    [&](const Pair& pair) { return pair.key == key; });
    return found == pairs_.end() ? -1 : static_cast<int>(found - pairs_.begin()) + 1;
}

bool TextMap::set(Text& key, const Text& value, bool force, bool replaceOnly) {
    key = trimText(key);
    const int position = indexOf(key);
    if (position > 0) {
        pairs_[position - 1].value = value;
        return true;
    }
    if (replaceOnly && !force) {
        return false;
    }
    pairs_.push_back({key, value});
    return true;
}

Text TextMap::get(Text& key, const Text& defaultValue) const {
    key = trimText(key);
    const int position = indexOf(key);
    return position > 0 ? pairs_[position - 1].value : defaultValue;
}

TextMap::Pair TextMap::pairAt(int position) const {
    if (position < 1 || position > count()) {
        return {};
    }
    return pairs_[position - 1];
}

bool TextMap::remove(int position, bool byPosition, Text& key, bool byKey) {
    key = trimText(key);
    if (!(byPosition && position >= 1 && position <= count())) {
        position = byKey ? indexOf(key) : -1;
    }
    if (position < 1) {
        return false;
    }
    pairs_.erase(pairs_.begin() + (position - 1));
    return true;
}

}  // namespace tamrivo
