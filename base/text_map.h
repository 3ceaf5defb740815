#pragma once

#include <vector>

#include "base/value_types.h"

namespace tamrivo {

// Key/value pairs of texts in insertion order, looked up by exact key. Keys are trimmed of
// ASCII and full-width spaces on the way in (set, get, remove), so " name " and "name" are the
// same key; those operations write the trimmed key back to the caller's variable. Positions
// are 1-based.
class TextMap {
public:
    struct Pair {
        Text key;
        Text value;

        friend bool operator==(const Pair&, const Pair&) = default;
    };

    // Position of the pair whose key equals key byte for byte (no trimming here), or -1.
    int indexOf(const Text& key) const;

    // Replaces the value of a present key in place, or appends a new pair; with replaceOnly
    // (and not force) a missing key is left out and the result is false.
    bool set(Text& key, const Text& value, bool force = false, bool replaceOnly = false);

    // The value of the key, or defaultValue when it is missing.
    Text get(Text& key, const Text& defaultValue = {}) const;

    // The pair at the position, or two empty texts when there is none there.
    Pair pairAt(int position) const;

    int count() const { return static_cast<int>(pairs_.size()); }
    void clear() { pairs_.clear(); }

    // Removes the pair at position when byPosition and the position exists, else the pair of
    // key when byKey and the key is present; false when nothing was removed.
    bool remove(int position, bool byPosition, Text& key, bool byKey);

private:
    std::vector<Pair> pairs_;
};

}  // namespace tamrivo
