package tvapi;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.parallel.ResourceLock;
import tarvexjni.CertificateQuery;
import tarvexjni.TarvexException;
import tarvexjni.standin.CertificateRecord;
import tarvexjni.standin.StandIn;
import tarvexjni.standin.Store;
import tarvexjni.standin.VerificationAnswer;

// Texts in the single-byte encoding that tarvexjni.codeset names: scripts/test runs this class
// once for each of windows-1252, ISO-8859-5 and KOI8-R, under LC_ALL=C.UTF-8, where without the
// setting none of these names would cross. Skipped without the setting.
@ResourceLock(StandIn.RESOURCE_LOCK)
class CodesetTest extends Kit {

  // A name of the encoding's characters beyond ASCII, and a character it lacks.
  record Sample(String name, String lacked) {}

  static final Map<String, Sample> SAMPLES = Map.of(
    "windows-1252",
    new Sample("CN=Fran\u00e7oise M\u00fcller,O=Soci\u00e9t\u00e9 \u20ac", "\u0416"),
    "ISO-8859-5",
    new Sample(
      "CN=\u0416\u0430\u043d\u043d\u0430 \u0418\u0432\u0430\u043d\u043e\u0432\u0430",
      "\u00e9"
    ),
    "KOI8-R",
    new Sample(
      "CN=\u0424\u0451\u0434\u043e\u0440 \u0421\u043c\u0438\u0440\u043d\u043e\u0432",
      "\u00e9"
    )
  );

  Charset charset;
  Sample sample;

  @BeforeEach
  void named() {
    String setting = System.getProperty("tarvexjni.codeset");
    assumeTrue(setting != null, "run by scripts/test with -Dtarvexjni.codeset");
    charset = Charset.forName(setting);
    sample = SAMPLES.get(charset.name());
    assertNotNull(sample, "no sample for " + charset.name());
  }

  // A text as the library received it in the encoding, one character per byte as the kit shows it.
  String received(String text) {
    return new String(text.getBytes(charset), StandardCharsets.ISO_8859_1);
  }

  @Test
  void namesCrossIntoTheLibraryAndBackUp() {
    StandIn.store(Store.of(CertificateRecord.withSubject(sample.name())));
    List<tarvexjni.Certificate> found = tarvex.findCertificates(
      CertificateQuery.bySubject(sample.name())
    );
    assertEquals(
      received(sample.name()),
      StandIn.recordedCalls()
        .of("FindCert")
        .single()
        .record("find_param_t")
        .get("certTemplate.subject")
    );
    assertEquals(sample.name(), found.get(0).subject());

    StandIn.on("VerifyMem").answer(
      VerificationAnswer.status(0)
        .signer(STATUS, CertificateRecord.withSubject(sample.name()))
        .content(DATA)
    );
    tarvexjni.Verification v = tarvex.verify(tarvex.sign(DATA));
    TarvexException e = assertThrows(TarvexException.class, v::requireValid);
    assertEquals(
      "Verification failed: the signature of " +
        sample.name() +
        " does not verify: status 0x7E570003 (" +
        STATUS_TEXT +
        ")",
      e.getMessage()
    );
  }

  @Test
  void aCharacterTheEncodingLacksReachesTheLibraryAsAQuestionMark() {
    tarvex.hash("x" + sample.lacked() + "y", DATA);
    assertEquals(List.of("x?y"), StandIn.recordedCalls().of("BlkHashMem").single().texts());
  }

  // The library opens a file by the bytes of its name in the encoding; a failure names it.
  @Test
  void aPathCrossesInTheEncodingAndItsFailureNamesIt() {
    Path file = DIR.resolve(sample.name() + ".pdf");
    TarvexException e = assertThrows(TarvexException.class, () -> tarvex.hash(file));
    assertEquals(
      List.of(received(file.toString())),
      StandIn.recordedCalls().of("HashFile").single().texts()
    );
    assertEquals(
      "HashFile failed: " + file + ": status 0x7E570004 (stand-in: the file could not be read)",
      e.getMessage()
    );
  }

  @Test
  void aCharacterBeyondTheBasicPlaneIsRefusedNamingTheEncodingAndTheSetting() {
    TarvexException e = assertThrows(TarvexException.class, () ->
      tarvex.hash("ok \uD83D\uDE00", DATA)
    );
    assertEquals(
      "BlkHashMem failed: the text \"ok \uD83D\uDE00\" has U+1F600, which takes two UTF-16 units: it" +
        " cannot cross one byte per unit in " +
        charset.name() +
        ", named by the system property tarvexjni.codeset," +
        " nor in any single-byte encoding: status 0xE0700001 PENDING_EXCEPTION: java.io.CharConversionException:" +
        " jstring2string_t",
      e.getMessage()
    );
  }
}
