#pragma once

namespace tamrivo::windows {

// How many characters the person can type or paste into each kind of box: more than any real
// entry needs, and few enough that whatever a box holds is shown whole and saved at once.
inline constexpr int kNameLimit = 100;  // guest and user names
inline constexpr int kContactLimit = 200;
inline constexpr int kPhoneLimit = 50;  // the landlord's phone on receipts
inline constexpr int kAddressLimit = 300;
inline constexpr int kAmountLimit = 32;  // deposits, rents and amounts received
inline constexpr int kPasswordLimit = 128;
inline constexpr int kRemarkLimit = 2000;  // check-in and settlement remarks
inline constexpr int kKeywordLimit = 100;  // what the search looks for

}  // namespace tamrivo::windows
