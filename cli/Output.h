// What zel says, one convention for every command. Messages go to standard error as
// "zel: ...", name the path the user gave, and add the system's reason after the library's
// words. JSON goes to standard output, valid for any bytes: camelCase keys, "path" for a
// file's path (with "pathHex", its exact bytes, when they are not valid UTF-8), true and
// false for yes and no, codes with their names beside them, failed files with "error",
// and null for what a mode did not compute.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "platform/base/exceptions/Exceptions.h"

namespace zel_cli {

using Json = nlohmann::ordered_json;

bool IsValidUtf8(std::string_view bytes);
// Valid UTF-8 as it is; otherwise each byte that does not belong to a valid sequence
// becomes U+FFFD.
std::string ToValidUtf8(std::string_view bytes);
// The suite's 8-bit text with each byte as the code point of the same number, so that any
// bytes make valid text and can be told apart again.
std::string BytesAsCodePoints(std::string_view bytes);
// Lower-case hexadecimal of the bytes.
std::string Hex(std::string_view bytes);
// Sets object["path"], and object["pathHex"] when the path is not valid UTF-8.
void PutPath(Json& object, const std::string& path);
// Prints the document and a line end on standard output.
void PrintJson(const Json& document);

// "zel: " and the message, on standard error.
void Message(const std::string& text);
// A file or archive failure in the library's words, naming path as the user gave it, with
// the system's reason after them when there is one ("... (Permission denied)").
std::string FailureText(const std::string& path, CException& e, bool reading);

// False, with "PATH: not a regular file" in error, for a pipe, socket or device, which a
// reader would wait on or read for ever; true for anything else (what does not exist or
// is a folder is left to the opening, which tells it in the library's words).
bool IsRegularFile(const std::string& path, std::string& error);

}  // namespace zel_cli
