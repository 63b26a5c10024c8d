package tvapi;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.io.CharConversionException;
import java.nio.file.Path;
import java.util.Optional;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.parallel.ResourceLock;
import tarvexjni.CertificateQuery;
import tarvexjni.Tarvex;
import tarvexjni.TarvexException;
import tarvexjni.standin.CertificateRecord;
import tarvexjni.standin.StandIn;
import tarvexjni.standin.VerificationAnswer;

// What a failure says, word for word: the files a file operation was given, the text that did not
// cross with the encoding in force and the setting that chooses another, and why a verification
// is not valid with the library's text. Runs without tarvexjni.codeset (CodesetTest runs with it).
@ResourceLock(StandIn.RESOURCE_LOCK)
class MessagesTest extends Kit {

  static final String LOCALE =
    System.getProperty("sun.jnu.encoding") + ", the codeset of the process locale";
  static final String REMEDY =
    ": name the single-byte encoding of the library's texts with the system property" +
    " tarvexjni.codeset (for example -Dtarvexjni.codeset=windows-1252)";
  static final String CONVERSION =
    ": status 0xE0700001 PENDING_EXCEPTION: java.io.CharConversionException: ";

  @Test
  void aFailedFileOperationNamesItsFilesAsGiven() {
    Path missing = DIR.resolve("missing.pdf");
    TarvexException e = assertThrows(TarvexException.class, () -> tarvex.hash(missing));
    assertEquals(
      "HashFile failed: " + missing + ": status 0x7E570004 (stand-in: the file could not be read)",
      e.getMessage()
    );

    Path relative = Path.of("no-such-folder", "in.pdf");
    e = assertThrows(TarvexException.class, () -> tarvex.hash("text", relative));
    assertEquals(
      "BlkHashFile failed: " +
        relative +
        " (" +
        relative.toAbsolutePath() +
        "): status 0x7E570004" +
        " (stand-in: the file could not be read)",
      e.getMessage()
    );

    StandIn.failNext("SignFile", STATUS);
    e = assertThrows(TarvexException.class, () -> tarvex.sign(FILE, DIR.resolve("signed")));
    assertEquals(
      "SignFile failed: content " +
        FILE +
        ", signed " +
        DIR.resolve("signed") +
        ": status 0x7E570003 (" +
        STATUS_TEXT +
        ")",
      e.getMessage()
    );

    StandIn.faultNext("VerifyFile", "SEGV"); // a verdict is an answer: only a fault throws
    e = assertThrows(TarvexException.class, () -> tarvex.verify(FILE, DIR.resolve("content")));
    assertEquals(
      "VerifyFile failed: signed " +
        FILE +
        ", content " +
        DIR.resolve("content") +
        ": machine fault status 0xC0000005 ACCESS_VIOLATION",
      e.getMessage()
    );
  }

  // Under a UTF-8 locale, which writes every character beyond ASCII with several bytes.
  @Test
  void aTextThatDoesNotCrossIsNamedWithTheEncodingAndTheSetting() {
    assumeTrue(
      "UTF-8".equals(System.getProperty("sun.jnu.encoding")),
      "a single-byte codeset carries it"
    );
    TarvexException e = assertThrows(TarvexException.class, () ->
      tarvex.findCertificates(CertificateQuery.bySubject("CN=M\u00fcller"))
    );
    assertEquals(
      "FindCert failed: the query.subject \"CN=M\u00fcller\" takes more bytes than characters in " +
        LOCALE +
        REMEDY +
        CONVERSION +
        "jstring2string_t",
      e.getMessage()
    );

    Path long_ = DIR.resolve("r\u00e9sum\u00e9 " + "of the year".repeat(6) + ".pdf");
    e = assertThrows(TarvexException.class, () -> tarvex.hash(long_));
    assertEquals(
      "HashFile failed: the file \"" +
        long_.toString().substring(0, 40) +
        "...\" takes more bytes than" +
        " characters in " +
        LOCALE +
        REMEDY +
        CONVERSION +
        "jstring2string_t",
      e.getMessage()
    );

    e = assertThrows(TarvexException.class, () ->
      Tarvex.open(0, new Tarvex.Setup(0, "user.pse", null, null, "gr\u00fcn"))
    );
    assertEquals(
      "InitializeEx failed: the setup.pin (not shown) takes more bytes than characters in " +
        LOCALE +
        REMEDY +
        CONVERSION +
        "jstring2string_t",
      e.getMessage()
    );
  }

  // In any codeset: one character in two UTF-16 units never crosses one byte per unit.
  @Test
  void aCharacterBeyondTheBasicPlaneIsNamed() {
    TarvexException e = assertThrows(TarvexException.class, () ->
      tarvex.hash("ok \uD83D\uDE00", DATA)
    );
    assertEquals(
      "BlkHashMem failed: the text \"ok \uD83D\uDE00\" has U+1F600, which takes two UTF-16 units: it" +
        " cannot cross one byte per unit in " +
        LOCALE +
        ", nor in any single-byte encoding" +
        CONVERSION +
        "jstring2string_t",
      e.getMessage()
    );
    e = assertThrows(TarvexException.class, () ->
      Tarvex.open(0, new Tarvex.Setup(0, null, null, null, "pin\uD83D\uDE00"))
    );
    assertEquals(
      "InitializeEx failed: the setup.pin (not shown) has a character beyond U+FFFF, which takes two" +
        " UTF-16 units: it cannot cross one byte per unit in " +
        LOCALE +
        ", nor in any single-byte encoding" +
        CONVERSION +
        "jstring2string_t",
      e.getMessage()
    );
  }

  // A call of LocalIface in the context knows no names: the message says what it can.
  @Test
  void aCallInTheContextSaysWhatItCan() {
    TarvexException e = assertThrows(TarvexException.class, () ->
      tarvex.call("GetErrorText", lib -> {
        throw new CharConversionException("string_t2jstring"); // as the bridge raises it
      })
    );
    assertEquals(
      "GetErrorText failed: a text the library returned does not read one character per byte in " +
        LOCALE +
        REMEDY +
        CONVERSION +
        "string_t2jstring",
      e.getMessage()
    );
    e = assertThrows(TarvexException.class, () ->
      tarvex.call("ExportFile", lib -> {
        throw new CharConversionException("jstring2string_t");
      })
    );
    assertEquals(
      "ExportFile failed: a text of the call (a parameter or a record field) does not cross one byte per" +
        " character in " +
        LOCALE +
        REMEDY +
        CONVERSION +
        "jstring2string_t",
      e.getMessage()
    );
  }

  @Test
  void anInvalidVerificationSaysWhyWithTheLibrarysText() {
    byte[] signed = tarvex.sign(DATA);
    signed[signed.length - 1] ^= 1;
    tarvexjni.Verification changed = tarvex.verify(signed);
    TarvexException e = assertThrows(TarvexException.class, changed::requireValid);
    assertEquals(
      "Verification failed: the message does not verify: status 0x7E570003 (" + STATUS_TEXT + ")",
      e.getMessage()
    );
    assertEquals(Optional.of(STATUS_TEXT), e.libraryText());

    int untrusted = 0x0BAD0001;
    StandIn.errorText(untrusted, "the signer is not trusted");
    StandIn.on("VerifyMem").answer(
      VerificationAnswer.status(0)
        .signer(0, CertificateRecord.withSubject("CN=Alice"))
        .signer(untrusted, CertificateRecord.withSubject("CN=Mallory"))
        .content(DATA)
    );
    tarvexjni.Verification mallory = tarvex.verify(tarvex.sign(DATA));
    e = assertThrows(TarvexException.class, mallory::requireValid);
    assertEquals(
      "Verification failed: the signature of CN=Mallory does not verify: status 0x0BAD0001 (the signer is" +
        " not trusted)",
      e.getMessage()
    );

    // A verification made without the library has no text to give.
    e = assertThrows(TarvexException.class, () ->
      new tarvexjni.Verification(0, DATA, java.util.List.of()).requireValid()
    );
    assertEquals(
      "Verification failed: the message carries no signature: status 0x00000000 SUCCESS",
      e.getMessage()
    );
    assertFalse(e.libraryText().isPresent());
  }
}
