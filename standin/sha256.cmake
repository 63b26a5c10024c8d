# Writes FILE.sha256: the SHA-256 of FILE, in hex, alone.
file(SHA256 ${FILE} digest)
file(WRITE ${FILE}.sha256 ${digest})
