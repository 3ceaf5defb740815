#pragma once

#include <string>

#include "records/secret_bytes.h"
#include "tools/records/records_commands.h"

namespace tamrivo {

// A secret (a password, a recovery code) as one line: from the descriptor given with
// --password-fd when `fromDescriptor`, otherwise typed unseen at a terminal, otherwise the next
// line of the standard input. Never from the command line or the environment. Empty when
// nothing was given.
SecretBytes readSecret(const CommandInput& input, const char* prompt, bool fromDescriptor);

// A line typed by the person, the prompt shown only at a terminal; what is typed is not shown.
std::string readHiddenLine(const CommandInput& input, const char* prompt);

// A person typing at the terminal is asked, and asked twice; a pipe gives one line.
bool typedByAPerson(const CommandInput& input);

// A new password, read as the password command reads it (twice at a terminal) and refused as the
// program's password window refuses it; false with the person told why.
bool readNewPassword(const CommandInput& input, std::string& password);

}  // namespace tamrivo
