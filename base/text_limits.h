#pragma once

namespace tamrivo {

// How many characters each kind of text holds, in the records and in the box that takes it:
// more than any real entry needs, and few enough that whatever a box holds is shown whole and
// saved at once.
inline constexpr int kNameLimit = 100;  // guest and user names
inline constexpr int kContactLimit = 200;
inline constexpr int kPhoneLimit = 50;  // the landlord's phone on receipts
inline constexpr int kAddressLimit = 300;
inline constexpr int kAmountLimit = 32;  // deposits, rents and amounts received
inline constexpr int kPasswordLimit = 128;
// A recovery code as typed: 40 characters, with dashes or blanks between its groups.
inline constexpr int kRecoveryCodeLimit = 60;
inline constexpr int kRemarkLimit = 2000;  // check-in and settlement remarks
inline constexpr int kKeywordLimit = 100;  // what the search looks for

}  // namespace tamrivo
