/**
 * The Java API of the library {@code tarvex}: a context that closes, one exception that carries
 * the status, byte arrays and files in and out, immutable results, and the library's streams as
 * {@code java.io} streams. It runs over {@link Norv1.LocalIface}, which stays for every method
 * of the library exactly as the library defines it, and adds no native code of its own.
 *
 * <h2 id="example">Example</h2>
 *
 * <p>A complete program: it hashes a file as a stream and in one call, signs the file's bytes and
 * verifies them, meets the library's refusal of a file that does not exist, and closes its
 * context on every path. The <a href="{@docRoot}/index.html">overview</a> has a shorter one.
 *
 * <pre>{@code
 * import java.io.IOException;
 * import java.nio.file.Files;
 * import java.nio.file.Path;
 * import java.util.Arrays;
 * import java.util.HexFormat;
 * import tarvexjni.Certificate;
 * import tarvexjni.FinishingOutputStream;
 * import tarvexjni.Status;
 * import tarvexjni.Tarvex;
 * import tarvexjni.TarvexException;
 * import tarvexjni.Verification;
 *
 * public final class SignedFile {
 *   public static void main(String[] args) throws IOException {
 *     Path file = Files.createTempFile("contract", ".txt");
 *     Files.writeString(file, "The agreement, as signed");
 *     try (Tarvex tarvex = Tarvex.openMinimal()) {  // ends the context on every path
 *       byte[] streamed;
 *       try (FinishingOutputStream<byte[]> hashing = tarvex.hashing()) {
 *         Files.copy(file, hashing);  // one call of the library per piece written
 *         streamed = hashing.finish();
 *       }
 *       System.out.println("hash: " + HexFormat.of().formatHex(streamed));
 *       System.out.println("in one call: " + Arrays.equals(streamed, tarvex.hash(file)));
 *
 *       // requireValid(): the overall status 0 and every signature's status 0, or an exception
 *       Verification verified = tarvex.verify(tarvex.sign(Files.readAllBytes(file))).requireValid();
 *       for (Verification.Signer signer : verified.signers()) {
 *         System.out.println("signer: " + signer.certificate().map(Certificate::subject).orElse("(none)"));
 *       }
 *
 *       try {
 *         tarvex.hash(file.resolveSibling("no such file"));
 *       } catch (TarvexException e) {  // the library refused: its status and its text
 *         if (e.isFault()) throw e;    // it crashed: the context now only closes
 *         System.out.println("a missing file: " + Status.toString(e.status()) + " "
 *             + e.libraryText().orElse("(no text)"));
 *       }
 *     } finally {
 *       Files.delete(file);
 *     }
 *   }
 * }
 * }</pre>
 *
 * <p>Every failure of a call is a {@link tarvexjni.TarvexException}, unchecked: the library's
 * refusal, a machine fault inside the library ({@link tarvexjni.TarvexException#isFault()}, after
 * which the context only closes), or an exception of the bridge, its cause. A signature that
 * does not verify is not a failure but an answer, a {@link tarvexjni.Verification} that is not
 * valid ({@code requireValid()} turns it into an exception).
 *
 * <ul>
 *   <li>{@link tarvexjni.Tarvex}: a context, and every operation; thread-safe, its calls
 *       serialised, a wait for it interruptible. {@link tarvexjni.TarvexPool}: contexts shared
 *       by platform and virtual threads, one thread at a time each.</li>
 *   <li>{@link tarvexjni.TarvexException}: a failed call (unchecked), with {@link
 *       tarvexjni.Status} naming the statuses this project knows.</li>
 *   <li>Results: {@link tarvexjni.Certificate}, {@link tarvexjni.Crl}, {@link
 *       tarvexjni.Verification}, {@link tarvexjni.Decrypted}, {@link tarvexjni.OtherName},
 *       {@link tarvexjni.BasicConstraints}; requirements: {@link tarvexjni.VerifyOptions},
 *       {@link tarvexjni.CertificateQuery}.</li>
 *   <li>Streams and enumerations: {@link tarvexjni.FinishingOutputStream}, {@link
 *       tarvexjni.FinishingInputStream}, {@link tarvexjni.DecryptingInputStream}, {@link
 *       tarvexjni.StoreObjects}.</li>
 *   <li>Nothing returned is null: what may be absent is an {@link java.util.Optional}, a text
 *       the library left empty is {@code ""}. Certificates convert to and from the JDK's {@link
 *       java.security.cert.X509Certificate}, and {@code LocalIface}'s records to these results
 *       ({@code from}).</li>
 * </ul>
 */
package tarvexjni;
