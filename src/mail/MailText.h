#pragma once
// Text helpers of the mail features: quoted-printable ISO-8859-1 for the mail file, the strict
// e-mail address check used by the member dialog, and random identifiers for message parts.

#include <optional>
#include <string>

namespace derode::mail {

// Encodes the listed accented letters and the characters "~=><?" as "=XX" (ISO-8859-1 code in
// upper-case hexadecimal). Header form: a blank becomes "_" and the result is wrapped as
// " =?iso-8859-1?Q?" ... "?=". Body form: blanks stay. Every other character is kept as is.
std::string STRING2ISO_8859_1(const std::string& text, bool headerForm);

// The first rule the address breaks, as the message shown to the user; nothing when it is valid.
// The address is trimmed first.
std::optional<std::string> emailProblem(const std::string& address, bool emptyAllowed);

// Caption of the box that explains a refused address.
inline constexpr const char* kEmailCaption = "Courriel ??";

// Checks an address; when it is refused the reason has already been shown (platform error box,
// caption "Courriel ??").
bool ISVALIDEMAILSTRICT(const std::string& address, bool emptyAllowed);

// A random identifier of `length` characters drawn from the fixed 135-character alphabet.
std::string GETUNIQUEID(int length);
// The alphabet itself (letters twice, digits three or four times).
const std::string& uniqueIdAlphabet();

}  // namespace derode::mail
