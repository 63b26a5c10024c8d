package tvkit;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import Norv1.LocalIface;
import Norv1.LocalIface.decrypt_result_t;
import Norv1.LocalIface.mem_blk_t;
import Norv1.LocalIface.strhandle_t;
import Norv1.LocalIface.verify_result_t;
import java.io.ByteArrayInputStream;
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.function.BiFunction;
import java.util.function.Supplier;
import java.util.stream.Stream;
import org.junit.jupiter.api.Named;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import tarvexjni.FinishingOutputStream;
import tarvexjni.Tarvex;
import tarvexjni.TarvexException;
import tarvexjni.standin.StandIn;
import tarvexjni.standin.StandInTest;

// What the stand-in signs or encrypts in any form (one call, a file, a stream), every form of the
// same family verifies or decrypts with its signer or sender; what it did not make, or what
// changed, every form refuses.
@StandInTest
class RoundTripTest extends WithLib {

  static final String SIGNER = "CN=Signer 1,O=Stand-in";
  static final String SENDER = "CN=Signer 2,O=Stand-in";
  static final byte[] CONTENT = new byte[150_000];

  static {
    for (int i = 0; i < CONTENT.length; i++) CONTENT[i] = (byte) (i * 7 + i / 251);
  }

  @TempDir
  static Path dir;

  static int files;

  interface Maker {
    byte[] make(LocalIface lib, byte[] content) throws Exception;
  }

  // What an opener found: the status, the content, the signer or sender (null for none).
  record Opened(int status, byte[] content, String party) {}

  interface Opener {
    Opened open(LocalIface lib, byte[] message) throws Exception;
  }

  // ---- Blocks, files and streams, as the library's forms take them -----------------------------

  static Path file(byte[] bytes) throws Exception {
    Path p = dir.resolve("f" + files++);
    if (bytes != null) Files.write(p, bytes);
    return p;
  }

  static byte[] read(Path p) throws Exception {
    return Files.exists(p) ? Files.readAllBytes(p) : new byte[0];
  }

  // Pieces of awkward sizes: smaller than the stand-in's header and digest, then large ones.
  static List<byte[]> pieces(byte[] all) {
    List<byte[]> out = new ArrayList<>();
    int[] sizes = { 1, 2, 5, 31, 7000 };
    int at = 0;
    for (int i = 0; at < all.length; i++) {
      int n = Math.min(i < sizes.length ? sizes[i] : 65_536, all.length - at);
      out.add(Arrays.copyOfRange(all, at, at + n));
      at += n;
    }
    return out;
  }

  interface Update {
    int call(LocalIface lib, strhandle_t h, mem_blk_t in, mem_blk_t out) throws Exception;
  }

  interface Last {
    int call(LocalIface lib, strhandle_t h, mem_blk_t out) throws Exception;
  }

  // Feeds a stream its pieces; the outputs of the Updates and of the Final, joined.
  static byte[] stream(LocalIface lib, strhandle_t h, byte[] input, Update update, Last last)
    throws Exception {
    java.io.ByteArrayOutputStream out = new java.io.ByteArrayOutputStream();
    for (byte[] piece : pieces(input)) {
      mem_blk_t o = new mem_blk_t();
      assertEquals(0, update.call(lib, h, new mem_blk_t(piece), o));
      out.write(o.bytes());
    }
    mem_blk_t o = new mem_blk_t();
    assertEquals(0, last.call(lib, h, o));
    out.write(o.bytes());
    return out.toByteArray();
  }

  static String signer(verify_result_t r) {
    return r.sign_num == 0 ? null : r.signs[0].status + " " + r.signs[0].cert.subject;
  }

  static String sender(int status, decrypt_result_t r) {
    return status == 0 ? r.sender.subject : null;
  }

  // ---- Each form as a maker or an opener ------------------------------------------------------

  interface BlockCall {
    int call(LocalIface lib, mem_blk_t in, mem_blk_t out) throws Exception;
  }

  interface FileCall {
    int call(LocalIface lib, String in, String out) throws Exception;
  }

  interface InitCall {
    int call(LocalIface lib, strhandle_t h) throws Exception;
  }

  interface BlockOpen<R> {
    int call(LocalIface lib, mem_blk_t in, mem_blk_t out, R result) throws Exception;
  }

  interface FileOpen<R> {
    int call(LocalIface lib, String in, String out, R result) throws Exception;
  }

  interface LastOpen<R> {
    int call(LocalIface lib, strhandle_t h, mem_blk_t out, R result) throws Exception;
  }

  // What kind of result an opener fills, and the party it names.
  record Result<R>(Supplier<R> make, BiFunction<Integer, R, String> party) {}

  static final Result<verify_result_t> SIGNED = new Result<>(verify_result_t::new, (status, r) ->
    signer(r)
  );
  static final Result<decrypt_result_t> SEALED = new Result<>(
    decrypt_result_t::new,
    RoundTripTest::sender
  );

  static Named<Maker> block(String name, BlockCall call) {
    return Named.of(name, (lib, c) -> {
      mem_blk_t out = new mem_blk_t();
      assertEquals(0, call.call(lib, new mem_blk_t(c), out));
      return out.bytes();
    });
  }

  static Named<Maker> files(String name, FileCall call) {
    return Named.of(name, (lib, c) -> {
      Path out = file(null);
      assertEquals(0, call.call(lib, file(c).toString(), out.toString()));
      return read(out);
    });
  }

  static Named<Maker> streamed(String name, InitCall init, Update update, Last last) {
    return Named.of(name, (lib, c) -> {
      strhandle_t h = new strhandle_t();
      assertEquals(0, init.call(lib, h));
      return stream(lib, h, c, update, last);
    });
  }

  static <R> Named<Opener> block(String name, Result<R> kind, BlockOpen<R> call) {
    return Named.of(name, (lib, m) -> {
      mem_blk_t content = new mem_blk_t();
      R r = kind.make().get();
      int status = call.call(lib, new mem_blk_t(m), content, r);
      return new Opened(status, content.bytes(), kind.party().apply(status, r));
    });
  }

  static <R> Named<Opener> files(String name, Result<R> kind, FileOpen<R> call) {
    return Named.of(name, (lib, m) -> {
      Path content = file(null);
      R r = kind.make().get();
      int status = call.call(lib, file(m).toString(), content.toString(), r);
      return new Opened(status, read(content), kind.party().apply(status, r));
    });
  }

  // A stream that opens: MISMATCH where an Update refused the message.
  static <R> Named<Opener> streamed(
    String name,
    Result<R> kind,
    InitCall init,
    Update update,
    LastOpen<R> last
  ) {
    return Named.of(name, (lib, m) -> {
      strhandle_t h = new strhandle_t();
      assertEquals(0, init.call(lib, h));
      R r = kind.make().get();
      int[] status = { StandIn.MISMATCH };
      byte[] content = openStream(
        lib,
        h,
        m,
        update,
        (l, s, out) -> status[0] = last.call(l, s, out, r)
      );
      return new Opened(status[0], content, kind.party().apply(status[0], r));
    });
  }

  // ---- Signed messages -------------------------------------------------------------------------

  static List<Named<Maker>> signers() {
    return List.of(
      block("SignMem", (lib, in, out) -> LocalIface.QUMENJNI_SignMem(lib, null, in, null, out)),
      files("SignFile", (lib, in, out) -> LocalIface.QUMENJNI_SignFile(lib, null, in, null, out)),
      streamed(
        "StrSign",
        (lib, h) -> LocalIface.QUMENJNI_StrSignInitMem(lib, null, null, h),
        (l, s, in, out) -> LocalIface.QUMENJNI_StrSignUpdateMem(l, null, s, in),
        (l, s, out) -> LocalIface.QUMENJNI_StrSignFinalMem(l, null, s, out)
      ),
      files("StrSignFile", (lib, in, out) ->
        LocalIface.QUMENJNI_StrSignFile(lib, null, in, null, out)
      ),
      block("CmsBlkAttSignMem", (lib, in, out) ->
        LocalIface.QUMENJNI_CmsBlkAttSignMem(lib, null, in, out)
      ),
      files("CmsBlkAttSignFile", (lib, in, out) ->
        LocalIface.QUMENJNI_CmsBlkAttSignFile(lib, null, in, out)
      ),
      streamed(
        "CmsStrAttSign",
        (lib, h) -> LocalIface.QUMENJNI_CmsStrAttSignInitMem(lib, null, null, h),
        (l, s, in, out) -> LocalIface.QUMENJNI_CmsStrAttSignUpdateMem(l, null, s, in, out),
        (l, s, out) -> LocalIface.QUMENJNI_CmsStrAttSignFinalMem(l, null, s, out)
      ),
      files("CmsStrAttSignFile", (lib, in, out) ->
        LocalIface.QUMENJNI_CmsStrAttSignFile(lib, null, in, out)
      )
    );
  }

  static List<Named<Opener>> verifiers() {
    return List.of(
      block("VerifyMem", SIGNED, (lib, in, out, r) ->
        LocalIface.QUMENJNI_VerifyMem(lib, null, in, null, out, r)
      ),
      files("VerifyFile", SIGNED, (lib, in, out, r) ->
        LocalIface.QUMENJNI_VerifyFile(lib, null, in, null, out, r)
      ),
      streamed(
        "StrVerify",
        SIGNED,
        (lib, h) -> LocalIface.QUMENJNI_StrVerifyInitMem(lib, null, null, h),
        (l, s, in, out) -> LocalIface.QUMENJNI_StrVerifyUpdateMem(l, null, s, in),
        (l, s, out, r) -> LocalIface.QUMENJNI_StrVerifyFinalMem(l, null, s, out, r)
      ),
      files("StrVerifyFile", SIGNED, (lib, in, out, r) ->
        LocalIface.QUMENJNI_StrVerifyFile(lib, null, in, null, out, r)
      ),
      block("CmsBlkAttVerifyMem", SIGNED, (lib, in, out, r) ->
        LocalIface.QUMENJNI_CmsBlkAttVerifyMem(lib, null, in, out, r)
      ),
      files("CmsBlkAttVerifyFile", SIGNED, (lib, in, out, r) ->
        LocalIface.QUMENJNI_CmsBlkAttVerifyFile(lib, null, in, out, r)
      ),
      streamed(
        "CmsStrAttVerify",
        SIGNED,
        (lib, h) -> LocalIface.QUMENJNI_CmsStrAttVerifyInitMem(lib, null, null, h),
        (l, s, in, out) -> LocalIface.QUMENJNI_CmsStrAttVerifyUpdateMem(l, null, s, in, out),
        (l, s, out, r) -> LocalIface.QUMENJNI_CmsStrAttVerifyFinalMem(l, null, s, out, r)
      ),
      files("CmsStrAttVerifyFile", SIGNED, (lib, in, out, r) ->
        LocalIface.QUMENJNI_CmsStrAttVerifyFile(lib, null, in, out, r)
      )
    );
  }

  // A stream that opens a message: null when an Update refused it (the stream has then ended),
  // else what it yielded (the Final's status is left to `last`).
  static byte[] openStream(LocalIface lib, strhandle_t h, byte[] input, Update update, Last last)
    throws Exception {
    java.io.ByteArrayOutputStream out = new java.io.ByteArrayOutputStream();
    for (byte[] piece : pieces(input)) {
      mem_blk_t o = new mem_blk_t();
      if (update.call(lib, h, new mem_blk_t(piece), o) != 0) {
        assertEquals(0, h.handle, "a refused Update ends the stream");
        return null;
      }
      out.write(o.bytes());
    }
    mem_blk_t o = new mem_blk_t();
    last.call(lib, h, o);
    out.write(o.bytes());
    return out.toByteArray();
  }

  static Stream<Arguments> signedPairs() {
    return signers()
      .stream()
      .flatMap(s ->
        verifiers()
          .stream()
          .map(v -> Arguments.of(s, v))
      );
  }

  @ParameterizedTest(name = "{0} then {1}")
  @MethodSource("signedPairs")
  void whatAnyFormSignsEveryFormVerifies(Maker maker, Opener opener) throws Exception {
    byte[] signed = maker.make(lib.lib, CONTENT);
    Opened opened = opener.open(lib.lib, signed);
    assertEquals(0, opened.status());
    assertArrayEquals(CONTENT, opened.content());
    assertEquals("0 " + SIGNER, opened.party());
  }

  // A message changed or cut short after signing names its signer with status 1 and fails;
  // bytes the stand-in never signed fail without a signer.
  @ParameterizedTest(name = "{0}")
  @MethodSource("verifiers")
  void everyFormRefusesWhatTheStandInDidNotSign(Opener opener) throws Exception {
    byte[] signed = signers().get(0).getPayload().make(lib.lib, CONTENT);
    byte[] changed = signed.clone();
    changed[1000] ^= 1;
    for (byte[] altered : List.of(changed, Arrays.copyOf(signed, signed.length - 1))) {
      Opened opened = opener.open(lib.lib, altered);
      assertEquals(StandIn.MISMATCH, opened.status());
      assertEquals("1 " + SIGNER, opened.party());
    }
    for (byte[] foreign : List.of(CONTENT, new byte[] { 'T', 'V' }, new byte[0])) {
      Opened opened;
      opened = opener.open(lib.lib, foreign);
      assertEquals(StandIn.MISMATCH, opened.status(), foreign.length + " bytes");
      assertNull(opened.party());
    }
  }

  // ---- Envelopes -------------------------------------------------------------------------------

  static List<Named<Maker>> encrypters() {
    return List.of(
      block("EncryptMem", (lib, in, out) -> LocalIface.QUMENJNI_EncryptMem(lib, null, in, out)),
      files("EncryptFile", (lib, in, out) -> LocalIface.QUMENJNI_EncryptFile(lib, null, in, out)),
      streamed(
        "StrEncrypt",
        (lib, h) -> LocalIface.QUMENJNI_StrEncryptInitMem(lib, null, h),
        (l, s, in, out) -> LocalIface.QUMENJNI_StrEncryptUpdateMem(l, null, s, in, out),
        (l, s, out) -> LocalIface.QUMENJNI_StrEncryptFinalMem(l, null, s, out)
      ),
      files("StrEncryptFile", (lib, in, out) ->
        LocalIface.QUMENJNI_StrEncryptFile(lib, null, in, out)
      ),
      block("CmsBlkEncryptMem", (lib, in, out) ->
        LocalIface.QUMENJNI_CmsBlkEncryptMem(lib, null, in, out)
      ),
      files("CmsBlkEncryptFile", (lib, in, out) ->
        LocalIface.QUMENJNI_CmsBlkEncryptFile(lib, null, in, out)
      ),
      streamed(
        "CmsStrEncrypt",
        (lib, h) -> LocalIface.QUMENJNI_CmsStrEncryptInitMem(lib, null, null, h),
        (l, s, in, out) -> LocalIface.QUMENJNI_CmsStrEncryptUpdateMem(l, null, s, in, out),
        (l, s, out) -> LocalIface.QUMENJNI_CmsStrEncryptFinalMem(l, null, s, out)
      ),
      files("CmsStrEncryptFile", (lib, in, out) ->
        LocalIface.QUMENJNI_CmsStrEncryptFile(lib, null, in, out)
      )
    );
  }

  static List<Named<Opener>> decrypters() {
    int[] state = new int[1];
    return List.of(
      block("DecryptMem", SEALED, (lib, in, out, r) ->
        LocalIface.QUMENJNI_DecryptMem(lib, null, in, out, r)
      ),
      files("DecryptFile", SEALED, (lib, in, out, r) ->
        LocalIface.QUMENJNI_DecryptFile(lib, null, in, out, r)
      ),
      streamed(
        "StrDecrypt",
        SEALED,
        (lib, h) -> LocalIface.QUMENJNI_StrDecryptInitMem(lib, null, null, state, h),
        (l, s, in, out) -> LocalIface.QUMENJNI_StrDecryptUpdateMem(l, null, s, in, state, out),
        (l, s, out, r) -> LocalIface.QUMENJNI_StrDecryptFinalMem(l, null, s, r)
      ),
      files("StrDecryptFile", SEALED, (lib, in, out, r) ->
        LocalIface.QUMENJNI_StrDecryptFile(lib, null, in, out, r)
      ),
      block("CmsBlkDecryptMem", SEALED, (lib, in, out, r) ->
        LocalIface.QUMENJNI_CmsBlkDecryptMem(lib, null, in, out, r)
      ),
      files("CmsBlkDecryptFile", SEALED, (lib, in, out, r) ->
        LocalIface.QUMENJNI_CmsBlkDecryptFile(lib, null, in, out, r)
      ),
      streamed(
        "CmsStrDecrypt",
        SEALED,
        (lib, h) -> LocalIface.QUMENJNI_CmsStrDecryptInitMem(lib, null, null, h),
        (l, s, in, out) -> LocalIface.QUMENJNI_CmsStrDecryptUpdateMem(l, null, s, in, out),
        (l, s, out, r) -> LocalIface.QUMENJNI_CmsStrDecryptFinalMem(l, null, s, out, r)
      ),
      files("CmsStrDecryptFile", SEALED, (lib, in, out, r) ->
        LocalIface.QUMENJNI_CmsStrDecryptFile(lib, null, in, out, r)
      )
    );
  }

  static Stream<Arguments> envelopePairs() {
    return encrypters()
      .stream()
      .flatMap(e ->
        decrypters()
          .stream()
          .map(d -> Arguments.of(e, d))
      );
  }

  @ParameterizedTest(name = "{0} then {1}")
  @MethodSource("envelopePairs")
  void whatAnyFormEncryptsEveryFormDecrypts(Maker maker, Opener opener) throws Exception {
    byte[] encrypted = maker.make(lib.lib, CONTENT);
    Opened opened = opener.open(lib.lib, encrypted);
    assertEquals(0, opened.status());
    assertArrayEquals(CONTENT, opened.content());
    assertEquals(SENDER, opened.party());
  }

  @ParameterizedTest(name = "{0}")
  @MethodSource("decrypters")
  void everyFormRefusesWhatTheStandInDidNotEncrypt(Opener opener) throws Exception {
    byte[] encrypted = encrypters().get(0).getPayload().make(lib.lib, CONTENT);
    byte[] changed = encrypted.clone();
    changed[70_000] ^= 1;
    for (byte[] foreign : List.of(
      changed,
      Arrays.copyOf(encrypted, encrypted.length - 1),
      CONTENT,
      new byte[0]
    )) {
      Opened opened = opener.open(lib.lib, foreign);
      assertEquals(StandIn.MISMATCH, opened.status(), foreign.length + " bytes");
      assertNull(opened.party());
    }
  }

  // ---- Detached signatures, joined and split ---------------------------------------------------

  static List<Named<Maker>> detachedSigners() {
    return List.of(
      block("CmsBlkDetSignMem", (lib, in, out) ->
        LocalIface.QUMENJNI_CmsBlkDetSignMem(lib, null, in, null, out)
      ),
      files("CmsBlkDetSignFile", (lib, in, out) ->
        LocalIface.QUMENJNI_CmsBlkDetSignFile(lib, null, in, null, out)
      ),
      streamed(
        "CmsStrDetSign",
        (lib, h) -> LocalIface.QUMENJNI_CmsStrDetSignInitMem(lib, null, null, h),
        (l, s, in, out) -> LocalIface.QUMENJNI_CmsStrDetSignUpdateMem(l, null, s, in),
        (l, s, out) -> LocalIface.QUMENJNI_CmsStrDetSignFinalMem(l, null, s, out)
      ),
      files("CmsStrDetSignFile", (lib, in, out) ->
        LocalIface.QUMENJNI_CmsStrDetSignFile(lib, null, in, null, out)
      ),
      Named.of("CmsBlkSignDetachMem", (lib, c) -> {
        // the signature split from a signed message
        mem_blk_t signed = new mem_blk_t();
        assertEquals(0, LocalIface.QUMENJNI_SignMem(lib, null, new mem_blk_t(c), null, signed));
        mem_blk_t content = new mem_blk_t();
        mem_blk_t signature = new mem_blk_t();
        assertEquals(
          0,
          LocalIface.QUMENJNI_CmsBlkSignDetachMem(lib, signed, content, signature, 0)
        );
        assertArrayEquals(c, content.bytes());
        return signature.bytes();
      })
    );
  }

  // The content, then its detached signature: what each checks and what it gives back.
  interface Checker {
    Opened check(LocalIface lib, byte[] content, byte[] signature) throws Exception;
  }

  static List<Named<Checker>> detachedVerifiers() {
    return List.of(
      Named.of("CmsBlkDetVerifyMem", (lib, c, sig) -> {
        mem_blk_t out = new mem_blk_t();
        verify_result_t r = new verify_result_t();
        int status = LocalIface.QUMENJNI_CmsBlkDetVerifyMem(
          lib,
          null,
          new mem_blk_t(sig),
          new mem_blk_t(c),
          out,
          r
        );
        return new Opened(status, out.bytes(), signer(r));
      }),
      Named.of("CmsBlkDetVerifyFile", (lib, c, sig) -> {
        Path out = file(null);
        verify_result_t r = new verify_result_t();
        int status = LocalIface.QUMENJNI_CmsBlkDetVerifyFile(
          lib,
          null,
          file(c).toString(),
          file(sig).toString(),
          out.toString(),
          r
        );
        return new Opened(status, read(out), signer(r));
      }),
      Named.of("CmsStrDetVerify", (lib, c, sig) -> {
        strhandle_t h = new strhandle_t();
        int init = LocalIface.QUMENJNI_CmsStrDetVerifyInitMem(lib, null, new mem_blk_t(sig), h);
        if (init != 0) return new Opened(init, null, null);
        verify_result_t r = new verify_result_t();
        int[] last = new int[1];
        openStream(
          lib,
          h,
          c,
          (l, s, in, out) -> LocalIface.QUMENJNI_CmsStrDetVerifyUpdateMem(l, null, s, in),
          (l, s, out) -> last[0] = LocalIface.QUMENJNI_CmsStrDetVerifyFinalMem(l, null, s, out, r)
        );
        return new Opened(last[0], c, signer(r));
      }),
      Named.of("VerifyMem with two inputs", (lib, c, sig) -> {
        mem_blk_t out = new mem_blk_t();
        verify_result_t r = new verify_result_t();
        int status = LocalIface.QUMENJNI_VerifyMem(
          lib,
          null,
          new mem_blk_t(c),
          new mem_blk_t(sig),
          out,
          r
        );
        return new Opened(status, out.bytes(), signer(r));
      }),
      Named.of("CmsBlkSignAttachMem, then VerifyMem", (lib, c, sig) -> {
        mem_blk_t signed = new mem_blk_t();
        int status = LocalIface.QUMENJNI_CmsBlkSignAttachMem(
          lib,
          new mem_blk_t(sig),
          new mem_blk_t(c),
          signed,
          0
        );
        if (status != 0) return new Opened(status, null, null);
        return verifiers().get(0).getPayload().open(lib, signed.bytes());
      })
    );
  }

  static Stream<Arguments> detachedPairs() {
    return detachedSigners()
      .stream()
      .flatMap(s ->
        detachedVerifiers()
          .stream()
          .map(v -> Arguments.of(s, v))
      );
  }

  @ParameterizedTest(name = "{0} then {1}")
  @MethodSource("detachedPairs")
  void whatAnyFormSignsApartEveryFormChecks(Maker maker, Checker checker) throws Exception {
    byte[] signature = maker.make(lib.lib, CONTENT);
    Opened opened = checker.check(lib.lib, CONTENT, signature);
    assertEquals(0, opened.status());
    assertArrayEquals(CONTENT, opened.content());
    assertEquals("0 " + SIGNER, opened.party());
    byte[] other = CONTENT.clone();
    other[5] ^= 1;
    opened = checker.check(lib.lib, other, signature);
    assertEquals(StandIn.MISMATCH, opened.status());
    assertTrue(opened.party() == null || opened.party().startsWith("1 "), opened.party());
    assertEquals(
      StandIn.MISMATCH,
      checker.check(lib.lib, CONTENT, CONTENT).status(),
      "no signature at all"
    );
  }

  // A signed message split by the stream, its content and signature joined again: the same message.
  @Test
  void splittingAndJoiningGiveTheSameMessage() throws Exception {
    byte[] signed = signers().get(0).getPayload().make(lib.lib, CONTENT);
    strhandle_t h = new strhandle_t();
    assertEquals(0, LocalIface.QUMENJNI_CmsStrSignDetachInitMem(lib.lib, null, h, 0));
    java.io.ByteArrayOutputStream content = new java.io.ByteArrayOutputStream();
    for (byte[] piece : pieces(signed)) {
      mem_blk_t out = new mem_blk_t();
      assertEquals(
        0,
        LocalIface.QUMENJNI_CmsStrSignDetachUpdateMem(lib.lib, h, new mem_blk_t(piece), out)
      );
      content.write(out.bytes());
    }
    mem_blk_t rest = new mem_blk_t();
    mem_blk_t signature = new mem_blk_t();
    assertEquals(0, LocalIface.QUMENJNI_CmsStrSignDetachFinalMem(lib.lib, h, rest, signature));
    content.write(rest.bytes());
    assertArrayEquals(CONTENT, content.toByteArray());
    mem_blk_t joined = new mem_blk_t();
    mem_blk_t streamed = new mem_blk_t(content.toByteArray());
    assertEquals(0, LocalIface.QUMENJNI_AttachSignMem(lib.lib, streamed, signature, joined));
    assertArrayEquals(signed, joined.bytes());
    mem_blk_t first = new mem_blk_t();
    mem_blk_t second = new mem_blk_t();
    assertEquals(0, LocalIface.QUMENJNI_DetachSignMem(lib.lib, joined, first, second));
    assertArrayEquals(signature.bytes(), first.bytes(), "PKCS#7: the signature first");
    assertArrayEquals(CONTENT, second.bytes());

    mem_blk_t sealed = new mem_blk_t();
    assertEquals(
      0,
      LocalIface.QUMENJNI_SignAndEncryptMem(lib.lib, null, null, new mem_blk_t(CONTENT), sealed)
    );
    mem_blk_t opened = new mem_blk_t();
    decrypt_result_t from = new decrypt_result_t();
    verify_result_t r = new verify_result_t();
    assertEquals(
      0,
      LocalIface.QUMENJNI_DecryptAndVerifyMem(lib.lib, null, null, sealed, opened, from, r)
    );
    assertArrayEquals(CONTENT, opened.bytes());
    assertEquals(SENDER, from.sender.subject);
    assertEquals("0 " + SIGNER, signer(r));
  }

  // A stream's handle belongs to its family and context: another family's call is refused.
  @Test
  void aHandleServesOnlyItsOwnFamily() throws Exception {
    int before = StandIn.openHandles();
    strhandle_t h = new strhandle_t();
    assertEquals(0, LocalIface.QUMENJNI_StrEncryptInitMem(lib.lib, null, h));
    long handle = h.handle;
    assertEquals(
      StandIn.BAD_HANDLE,
      LocalIface.QUMENJNI_StrHashUpdateMem(lib.lib, h, new mem_blk_t(CONTENT))
    );
    h.handle = handle;
    assertEquals(
      before + 1,
      StandIn.openHandles(),
      "the wrong family's call did not end the stream"
    );
    assertEquals(0, LocalIface.QUMENJNI_StrEncryptFinalMem(lib.lib, null, h, new mem_blk_t()));
  }

  // ---- Through the Java API ----------------------------------------------------------------------

  static byte[] signing(Tarvex tarvex, byte[] content) throws Exception {
    try (FinishingOutputStream<byte[]> out = tarvex.signing()) {
      out.write(content);
      return out.finish();
    }
  }

  static tarvexjni.Verification verifying(Tarvex tarvex, byte[] signed) throws Exception {
    try (FinishingOutputStream<tarvexjni.Verification> out = tarvex.verifying()) {
      out.write(signed);
      return out.finish();
    }
  }

  static void assertSignedBy(tarvexjni.Verification v) {
    assertEquals(0, v.status());
    assertArrayEquals(CONTENT, v.content());
    assertEquals(SIGNER, v.requireValid().signers().get(0).certificate().orElseThrow().subject());
  }

  @Test
  void theApisOneCallAndStreamedFormsAcceptEachOthersOutput() throws Exception {
    try (Tarvex tarvex = Tarvex.openMinimal()) {
      assertSignedBy(tarvex.verify(signing(tarvex, CONTENT)));
      assertSignedBy(verifying(tarvex, tarvex.sign(CONTENT)));
      assertSignedBy(verifying(tarvex, signing(tarvex, CONTENT)));
      Path signedFile = file(null);
      tarvex.sign(file(CONTENT), signedFile);
      assertSignedBy(verifying(tarvex, read(signedFile)));
      Path content = file(null);
      assertEquals(0, tarvex.verify(file(signing(tarvex, CONTENT)), content).status());
      assertArrayEquals(CONTENT, read(content));

      List<tarvexjni.Certificate> to = List.of(
        tarvexjni.Certificate.ofEncoded(new byte[] { 0x30, 0 })
      );
      byte[] sealed;
      try (InputStream in = tarvex.encrypting(new ByteArrayInputStream(CONTENT), to)) {
        sealed = in.readAllBytes();
      }
      assertArrayEquals(CONTENT, tarvex.decrypt(sealed).content());
      assertEquals(SENDER, tarvex.decrypt(file(sealed), content).orElseThrow().subject());
      assertArrayEquals(CONTENT, read(content));
      Path sealedFile = file(null);
      tarvex.encrypt(file(CONTENT), sealedFile, to);
      for (byte[] message : List.of(sealed, tarvex.encrypt(CONTENT, to), read(sealedFile))) {
        try (var in = tarvex.decrypting(new ByteArrayInputStream(message))) {
          assertArrayEquals(CONTENT, in.readAllBytes());
          assertEquals(SENDER, in.sender().orElseThrow().subject());
        }
      }
    }
  }

  @Test
  void theApiRefusesWhatTheStandInDidNotMake() throws Exception {
    try (Tarvex tarvex = Tarvex.openMinimal()) {
      tarvexjni.Verification v = verifying(tarvex, CONTENT);
      assertEquals(StandIn.MISMATCH, v.status());
      assertEquals(List.of(), v.signers());
      assertEquals(StandIn.MISMATCH, tarvex.verify(CONTENT).status());
      try (var in = tarvex.decrypting(new ByteArrayInputStream(CONTENT))) {
        assertEquals(
          StandIn.MISMATCH,
          assertThrows(TarvexException.class, in::readAllBytes).status()
        );
      }
      assertEquals(
        StandIn.MISMATCH,
        assertThrows(TarvexException.class, () -> tarvex.decrypt(CONTENT)).status()
      );
    }
  }
}
