package tarvexjni.internal;

import java.security.MessageDigest;

/**
 * SHA-256 (FIPS 180-4) in plain Java, for the digest of the jar's copy of the bridge, which every
 * JVM that extracts it computes at start-up, before its compilers have compiled anything. The
 * JDK's own reads the message through byte-array views, which a JVM that has just started runs
 * far slower than the shifts here, and is reached through the security providers, which take
 * their own time to set up; this one takes a fraction of the JDK's time for a library of 0.9 MB
 * (bench/README.md, "Where the time goes"). Once compiled, the JDK's is faster (the processor's
 * SHA instructions): the digests of libraries named by a path stay with it. Its results are those of the JDK's, compared on messages of every
 * length up to a few blocks and on large ones, fed whole and in pieces (loader test texts).
 */
final class Sha256 extends MessageDigest {

  private static final int[] K = {
    0x428a2f98,
    0x71374491,
    0xb5c0fbcf,
    0xe9b5dba5,
    0x3956c25b,
    0x59f111f1,
    0x923f82a4,
    0xab1c5ed5,
    0xd807aa98,
    0x12835b01,
    0x243185be,
    0x550c7dc3,
    0x72be5d74,
    0x80deb1fe,
    0x9bdc06a7,
    0xc19bf174,
    0xe49b69c1,
    0xefbe4786,
    0x0fc19dc6,
    0x240ca1cc,
    0x2de92c6f,
    0x4a7484aa,
    0x5cb0a9dc,
    0x76f988da,
    0x983e5152,
    0xa831c66d,
    0xb00327c8,
    0xbf597fc7,
    0xc6e00bf3,
    0xd5a79147,
    0x06ca6351,
    0x14292967,
    0x27b70a85,
    0x2e1b2138,
    0x4d2c6dfc,
    0x53380d13,
    0x650a7354,
    0x766a0abb,
    0x81c2c92e,
    0x92722c85,
    0xa2bfe8a1,
    0xa81a664b,
    0xc24b8b70,
    0xc76c51a3,
    0xd192e819,
    0xd6990624,
    0xf40e3585,
    0x106aa070,
    0x19a4c116,
    0x1e376c08,
    0x2748774c,
    0x34b0bcb5,
    0x391c0cb3,
    0x4ed8aa4a,
    0x5b9cca4f,
    0x682e6ff3,
    0x748f82ee,
    0x78a5636f,
    0x84c87814,
    0x8cc70208,
    0x90befffa,
    0xa4506ceb,
    0xbef9a3f7,
    0xc67178f2,
  };

  private final int[] state = new int[8];
  private final int[] w = new int[64];
  private final byte[] pending = new byte[64]; // the bytes of an incomplete block
  private int held;
  private long length; // bytes so far

  Sha256() {
    super("SHA-256");
    engineReset();
  }

  @Override
  protected void engineReset() {
    state[0] = 0x6a09e667;
    state[1] = 0xbb67ae85;
    state[2] = 0x3c6ef372;
    state[3] = 0xa54ff53a;
    state[4] = 0x510e527f;
    state[5] = 0x9b05688c;
    state[6] = 0x1f83d9ab;
    state[7] = 0x5be0cd19;
    held = 0;
    length = 0;
  }

  @Override
  protected void engineUpdate(byte input) {
    engineUpdate(new byte[] { input }, 0, 1);
  }

  @Override
  protected void engineUpdate(byte[] input, int offset, int len) {
    length += len;
    if (held > 0) {
      int take = Math.min(len, 64 - held);
      System.arraycopy(input, offset, pending, held, take);
      held += take;
      offset += take;
      len -= take;
      if (held < 64) return;
      block(pending, 0);
      held = 0;
    }
    for (; len >= 64; offset += 64, len -= 64) block(input, offset);
    System.arraycopy(input, offset, pending, 0, len);
    held = len;
  }

  @Override
  protected byte[] engineDigest() {
    long bits = length * 8;
    byte[] tail = new byte[held < 56 ? 64 : 128];
    System.arraycopy(pending, 0, tail, 0, held);
    tail[held] = (byte) 0x80;
    for (int i = 0; i < 8; i++) tail[tail.length - 1 - i] = (byte) (bits >>> (8 * i));
    for (int at = 0; at < tail.length; at += 64) block(tail, at);
    byte[] out = new byte[32];
    for (int i = 0; i < 8; i++) {
      out[4 * i] = (byte) (state[i] >>> 24);
      out[4 * i + 1] = (byte) (state[i] >>> 16);
      out[4 * i + 2] = (byte) (state[i] >>> 8);
      out[4 * i + 3] = (byte) state[i];
    }
    engineReset();
    return out;
  }

  // One 64-byte block. Rotations are written as shifts: Integer.rotateRight is a call until the
  // compilers get to it.
  private void block(byte[] m, int at) {
    int[] w = this.w;
    for (int t = 0; t < 16; t++, at += 4) {
      w[t] =
        (m[at] << 24) | ((m[at + 1] & 0xff) << 16) | ((m[at + 2] & 0xff) << 8) | (m[at + 3] & 0xff);
    }
    for (int t = 16; t < 64; t++) {
      int x = w[t - 15];
      int y = w[t - 2];
      int s0 = ((x >>> 7) | (x << 25)) ^ ((x >>> 18) | (x << 14)) ^ (x >>> 3);
      int s1 = ((y >>> 17) | (y << 15)) ^ ((y >>> 19) | (y << 13)) ^ (y >>> 10);
      w[t] = w[t - 16] + s0 + w[t - 7] + s1;
    }
    int a = state[0],
      b = state[1],
      c = state[2],
      d = state[3];
    int e = state[4],
      f = state[5],
      g = state[6],
      h = state[7];
    for (int t = 0; t < 64; t++) {
      int s1 = ((e >>> 6) | (e << 26)) ^ ((e >>> 11) | (e << 21)) ^ ((e >>> 25) | (e << 7));
      int t1 = h + s1 + ((e & f) ^ (~e & g)) + K[t] + w[t];
      int s0 = ((a >>> 2) | (a << 30)) ^ ((a >>> 13) | (a << 19)) ^ ((a >>> 22) | (a << 10));
      int t2 = s0 + ((a & b) ^ (a & c) ^ (b & c));
      h = g;
      g = f;
      f = e;
      e = d + t1;
      d = c;
      c = b;
      b = a;
      a = t1 + t2;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
  }
}
