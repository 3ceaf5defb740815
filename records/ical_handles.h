#pragma once
// libical's objects with owners, so that every path frees them.

#include <libical/ical.h>

#include <memory>
#include <string>

namespace tamrivo {

struct IcalComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using IcalComponent = std::unique_ptr<icalcomponent, IcalComponentFree>;

struct IcalPropertyFree {
    void operator()(icalproperty* property) const { icalproperty_free(property); }
};
using IcalProperty = std::unique_ptr<icalproperty, IcalPropertyFree>;

struct IcalTextFree {
    void operator()(char* text) const { icalmemory_free_buffer(text); }
};
using IcalText = std::unique_ptr<char, IcalTextFree>;

// The component as iCalendar text (CRLF lines, folded at 75 octets).
inline std::string icalText(icalcomponent* component) {
    const IcalText text(icalcomponent_as_ical_string_r(component));
    return text ? std::string(text.get()) : std::string();
}

}  // namespace tamrivo
