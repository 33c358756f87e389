#pragma once

#include <QByteArray>

namespace update {

// Checks a minisign signature file (both kinds minisign makes: "Ed" over the
// file itself, "ED" over its BLAKE2b-512 hash, and in either case the global
// signature over the trusted comment) against a minisign public key file.
// Part of the fetch module; libsodium does the cryptography.
bool VerifyMinisign(const QByteArray& publicKeyFile, const QByteArray& signatureFile,
                    const QByteArray& message, QByteArray* why);

// Lower-case hex of the SHA-256 of `bytes`.
QByteArray Sha256Hex(const QByteArray& bytes);

} // namespace update
