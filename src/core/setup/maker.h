#pragma once

// The maker of the program, as the about box and the desktop registration name it. The addresses
// are placeholders in a domain reserved for that purpose until the maker has its own.
namespace lexora::maker {

inline constexpr const char *kName = "QZ-Software";
inline constexpr const char *kLine = "Lexora wird entwickelt von QZ-Software.";
inline constexpr const char *kEmail = "lexora@example.org";
// Without "http://": the about box shows it so and puts the scheme in front when it opens it.
inline constexpr const char *kWebAddress = "www.example.org/lexora";
inline constexpr const char *kProgramsPage = "http://www.example.org/lexora/programme";

} // namespace lexora::maker
