#pragma once
// The generator log, the structured error report written into it, and the
// reversible encoding of the database passwords kept in StewardS.ini.

#include <QString>
#include <exception>

// Stored in place of an empty password, so that an empty password still has a
// stored form; the decoder maps it back to the empty text.
inline constexpr char NoPasswordMarker[] = "NO_PASSWORD_IS_SET_FOR_THIS_DATABASE";
// What DecodePassword answers for a stored form that is not hexadecimal: the
// database then refuses the login with its own wrong-password error.
inline constexpr char WrongPasswordMarker[] = "WRONG_STORED_PASSWORD";

// Appends "[yyyy/MM/dd hh:mm:ss] message" (local time, 24-hour clock) to
// GetHomeFolder() + "\Log\Alert_QNERPGenerator_yyyyMMdd.log", creating the
// folder and the file on first use. False when the line could not be written;
// never raises.
bool WriteGeneratorLog(const QString& message) noexcept;

// Writes an error report through WriteGeneratorLog: a header line naming the
// place, then (when error is given) the error's code(s) and message(s) by its
// class, then the programmer's message when there is one. error may be null.
// Never raises.
void LogError(const std::exception* error, const QString& place, const QString& programmerMessage) noexcept;

// Stored form of a password: two lower-case hex digits per byte, byte i (from 1)
// rotated right by i mod 8 bits. An empty password stores NoPasswordMarker.
// A password made of characters 1 to 255 stores one byte per character, as the
// suite's tools write it; a password with any character above 255 cannot be
// held that way and stores its UTF-8 bytes instead.
QString EncodePassword(const QString& password);

// The password of a stored form (empty for NoPasswordMarker and for an empty
// text). A trailing odd digit is ignored. Bytes are taken one per character,
// unless they are valid UTF-8 holding a character above 255 (the form that
// EncodePassword writes for such passwords). A pair that is not hexadecimal
// gives WrongPasswordMarker and an error report in the generator log.
QString DecodePassword(const QString& storedForm);
