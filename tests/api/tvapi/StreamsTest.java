package tvapi;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.util.List;
import java.util.function.Function;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.parallel.ResourceLock;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.MethodSource;
import tarvexjni.DecryptingInputStream;
import tarvexjni.FinishingInputStream;
import tarvexjni.FinishingOutputStream;
import tarvexjni.Tarvex;
import tarvexjni.TarvexException;
import tarvexjni.Verification;
import tarvexjni.standin.StandIn;

// The library's streams as java.io streams: each ends its stream once, whatever happened.
@ResourceLock(StandIn.RESOURCE_LOCK)
class StreamsTest extends Kit {

  static final byte[] BIG = new byte[150_000];

  static {
    for (int i = 0; i < BIG.length; i++) BIG[i] = (byte) (i * 31);
  }

  record Family(String name, Function<Tarvex, FinishingOutputStream<?>> open) {
    @Override
    public String toString() {
      return name;
    }
  }

  static List<Family> families() {
    return List.of(
      new Family("StrHash", Tarvex::hashing),
      new Family("StrSign", Tarvex::signing),
      new Family("StrVerify", Tarvex::verifying)
    );
  }

  @Test
  void aStreamHashesWhatTheOneShotHashes() throws IOException {
    try (FinishingOutputStream<byte[]> hashing = tarvex.hashing()) {
      hashing.write(BIG, 0, 1000);
      hashing.write(BIG, 1000, 99_000); // from an offset: copied, then passed
      hashing.write(BIG[100_000]);
      hashing.write(BIG, 100_001, BIG.length - 100_001);
      hashing.write(BIG, 7, 0);
      byte[] digest = hashing.finish();
      assertArrayEquals(tarvex.hash(BIG), digest);
      assertSame(digest, hashing.finish(), "finish twice: the same result");
      assertThrows(IOException.class, () -> hashing.write(DATA));
    }
    assertEquals(4, count("StrHashUpdateMem"));
    assertEquals(1, count("StrHashFinalMem"));
  }

  @ParameterizedTest
  @MethodSource("families")
  void closedUnfinishedTheStreamEndsOnce(Family f) throws IOException {
    FinishingOutputStream<?> stream = f.open().apply(tarvex);
    stream.write(DATA);
    assertEquals(handlesBefore + 1, StandIn.openHandles());
    stream.close();
    stream.close();
    assertEquals(1, count(f.name() + "FinalMem"));
    assertThrows(IOException.class, () -> stream.write(DATA));
    assertThrows(IllegalStateException.class, stream::finish);
  }

  @ParameterizedTest
  @MethodSource("families")
  void aFailedWriteEndsTheStreamAndNothingEndsItAgain(Family f) throws IOException {
    try (FinishingOutputStream<?> stream = f.open().apply(tarvex)) {
      stream.write(DATA);
      StandIn.failNext(f.name() + "UpdateMem", STATUS);
      TarvexException e = assertThrows(TarvexException.class, () -> stream.write(DATA));
      assertEquals(STATUS, e.status());
      assertEquals(handlesBefore, StandIn.openHandles(), "the library ended it");
      assertThrows(IOException.class, () -> stream.write(DATA));
      assertThrows(IllegalStateException.class, stream::finish);
    }
    assertEquals(0, count(f.name() + "FinalMem"));
  }

  @ParameterizedTest
  @MethodSource("families")
  void aFailedFinishIsNotRepeated(Family f) throws IOException {
    try (FinishingOutputStream<?> stream = f.open().apply(tarvex)) {
      stream.write(DATA);
      StandIn.failNext(f.name() + "FinalMem", STATUS);
      if (f.name().equals("StrVerify")) {
        assertEquals(STATUS, ((Verification) stream.finish()).status(), "a verdict, not a failure");
      } else {
        assertEquals(STATUS, assertThrows(TarvexException.class, stream::finish).status());
      }
    }
    assertEquals(1, count(f.name() + "FinalMem"));
  }

  @Test
  void aFaultInAWriteStillEndsTheStreamOnClose() throws IOException {
    FinishingOutputStream<byte[]> hashing = tarvex.hashing();
    StandIn.faultNext("StrHashUpdateMem", "SEGV");
    assertTrue(assertThrows(TarvexException.class, () -> hashing.write(DATA)).isFault());
    hashing.close();
    assertEquals(1, count("StrHashFinalMem"));
  }

  // A crash inside the Final stage leaves the handle with the library: ending it again would be
  // a second Final.
  @Test
  void aFaultInFinishIsNotFollowedByASecondFinal() throws IOException {
    FinishingOutputStream<byte[]> hashing = tarvex.hashing();
    StandIn.faultNext("StrHashFinalMem", "SEGV");
    assertTrue(assertThrows(TarvexException.class, hashing::finish).isFault());
    hashing.close();
    tarvex.close();
    assertEquals(1, count("StrHashFinalMem"));
    handlesBefore++;
  }

  @Test
  void closingTheContextEndsItsStreams() throws IOException {
    FinishingOutputStream<byte[]> hashing = tarvex.hashing();
    DecryptingInputStream decrypting = tarvex.decrypting(new ByteArrayInputStream(BIG));
    assertEquals(handlesBefore + 2, StandIn.openHandles());
    tarvex.close();
    assertEquals(handlesBefore, StandIn.openHandles());
    assertThrows(IllegalStateException.class, () -> hashing.write(DATA));
    assertThrows(IllegalStateException.class, () -> decrypting.read());
    hashing.close();
    decrypting.close();
    assertEquals(1, count("StrHashFinalMem"));
    assertEquals(1, count("StrDecryptFinalMem"));
  }

  @Test
  void aDroppedStreamIsEndedByTheCleaner() throws Exception {
    dropAStream(tarvex);
    awaitCleaner(() -> StandIn.openHandles() == handlesBefore);
    assertEquals(1, count("StrSignFinalMem"));
  }

  private static void dropAStream(Tarvex tarvex) throws IOException {
    tarvex.signing().write(DATA);
  }

  @Test
  void encryptingAndDecryptingStreamsReadThroughTheLibrary() throws IOException {
    byte[] encrypted;
    try (InputStream encrypting = tarvex.encrypting(new ByteArrayInputStream(BIG), RECIPIENTS)) {
      encrypted = encrypting.readAllBytes();
    }
    assertArrayEquals(
      tarvex.encrypt(BIG, RECIPIENTS),
      encrypted,
      "the stand-in's envelope, streamed or not"
    );
    try (
      DecryptingInputStream decrypting = tarvex.decrypting(new ByteArrayInputStream(encrypted))
    ) {
      assertThrows(IllegalStateException.class, decrypting::sender, "not read to its end");
      assertArrayEquals(BIG, decrypting.readAllBytes());
      assertEquals(-1, decrypting.read());
      decrypting.sender();
    }
    assertEquals(3, count("StrDecryptUpdateMem"), "64 KiB pieces");
  }

  @Test
  void aDecryptionThatFailsFailsTheReadAndEndsOnce() throws IOException {
    for (String stage : new String[] { "StrDecryptUpdateMem", "StrDecryptFinalMem" }) {
      Source source = new Source(tarvex.encrypt(BIG, RECIPIENTS));
      DecryptingInputStream decrypting = tarvex.decrypting(source);
      assertEquals(100, decrypting.read(new byte[100]));
      StandIn.failNext(stage, STATUS);
      assertEquals(
        STATUS,
        assertThrows(TarvexException.class, decrypting::readAllBytes).status(),
        stage
      );
      assertThrows(IOException.class, decrypting::read);
      decrypting.close();
      assertTrue(source.closed);
    }
    assertEquals(
      1,
      count("StrDecryptFinalMem"),
      "the failed Final; the failed Update ended its own stream"
    );
  }

  @Test
  void aFailingSourceLeavesTheStreamForCloseToEnd() throws IOException {
    Source source = new Source(BIG);
    source.failAfter = 1;
    InputStream encrypting = tarvex.encrypting(source, RECIPIENTS);
    assertThrows(IOException.class, encrypting::readAllBytes);
    assertEquals(handlesBefore + 1, StandIn.openHandles());
    encrypting.close();
    encrypting.close();
    assertTrue(source.closed);
    assertEquals(1, count("StrEncryptFinalMem"));
  }

  @Test
  void aHashingInputStreamPassesEveryByteOnAndHashesIt() throws IOException {
    Source source = new Source(BIG);
    ByteArrayOutputStream copy = new ByteArrayOutputStream();
    try (FinishingInputStream<byte[]> hashing = tarvex.hashing(source)) {
      byte[] head = new byte[120];
      assertEquals(100, hashing.read(head, 20, 100)); // into an offset: copied, then passed
      copy.write(head, 20, 100);
      copy.write(hashing.read());
      assertEquals(1000, hashing.skip(1000)); // skipped bytes are read, and hashed
      copy.write(BIG, 101, 1000);
      hashing.transferTo(copy);
      assertEquals(-1, hashing.read());
      byte[] digest = hashing.finish();
      assertArrayEquals(BIG, copy.toByteArray(), "passed on unchanged");
      assertArrayEquals(tarvex.hash(BIG), digest);
      assertSame(digest, hashing.finish());
      assertThrows(IOException.class, hashing::read, "finished");
    }
    assertTrue(source.closed);
    assertEquals(1, count("StrHashFinalMem"));
  }

  @Test
  void aHashingInputStreamEndsItsStreamOnceWhateverHappens() throws IOException {
    FinishingInputStream<byte[]> abandoned = tarvex.hashing(new ByteArrayInputStream(BIG));
    abandoned.read(new byte[10]);
    abandoned.close();
    abandoned.close();
    assertThrows(IllegalStateException.class, abandoned::finish);
    assertEquals(1, count("StrHashFinalMem"));

    try (FinishingInputStream<byte[]> failing = tarvex.hashing(new ByteArrayInputStream(BIG))) {
      StandIn.failNext("StrHashUpdateMem", STATUS);
      assertEquals(
        STATUS,
        assertThrows(TarvexException.class, () -> failing.read(new byte[10])).status()
      );
      assertThrows(IOException.class, failing::read);
      assertThrows(IllegalStateException.class, failing::finish);
    }
    assertEquals(1, count("StrHashFinalMem"), "the library ended the failed one itself");
  }

  @Test
  void anEncryptingOutputStreamWritesWhatTheEncryptingInputStreamYields() throws IOException {
    byte[] expected;
    try (InputStream encrypting = tarvex.encrypting(new ByteArrayInputStream(BIG), RECIPIENTS)) {
      expected = encrypting.readAllBytes();
    }
    Sink target = new Sink();
    try (OutputStream encrypting = tarvex.encrypting(target, RECIPIENTS)) {
      encrypting.write(BIG, 0, 1000);
      encrypting.write(BIG, 1000, BIG.length - 1000); // from an offset: copied, then passed
    }
    assertArrayEquals(expected, target.toByteArray(), "close() completes the message");
    assertTrue(target.closed);
    assertEquals(2, count("StrEncryptFinalMem"));
  }

  @Test
  void anEncryptingOutputStreamThatFailedCompletesNothing() throws IOException {
    Sink target = new Sink();
    OutputStream encrypting = tarvex.encrypting(target, RECIPIENTS);
    encrypting.write(DATA);
    StandIn.failNext("StrEncryptUpdateMem", STATUS);
    assertEquals(
      STATUS,
      assertThrows(TarvexException.class, () -> encrypting.write(DATA)).status()
    );
    assertThrows(IOException.class, () -> encrypting.write(DATA));
    encrypting.close();
    encrypting.close();
    assertTrue(target.closed);
    assertEquals(
      0,
      count("StrEncryptFinalMem"),
      "the library ended its stream; nothing completes it"
    );
  }

  // A target that remembers being closed.
  static final class Sink extends ByteArrayOutputStream {

    boolean closed;

    @Override
    public void close() {
      closed = true;
    }
  }

  // A source that can fail after some reads, and remembers being closed.
  static final class Source extends InputStream {

    final ByteArrayInputStream bytes;
    int reads;
    int failAfter = Integer.MAX_VALUE;
    boolean closed;

    Source(byte[] bytes) {
      this.bytes = new ByteArrayInputStream(bytes);
    }

    @Override
    public int read() throws IOException {
      byte[] one = new byte[1];
      return read(one, 0, 1) < 0 ? -1 : one[0] & 0xff;
    }

    @Override
    public int read(byte[] b, int off, int len) throws IOException {
      if (reads++ >= failAfter) throw new IOException("disk gone");
      return bytes.read(b, off, len);
    }

    @Override
    public void close() {
      closed = true;
    }
  }
}
