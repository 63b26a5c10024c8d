/**
 * The Java side of the tarvexjni bridge: {@link Norv1.LocalIface}, whose static native methods
 * call the cryptographic library {@code tarvex}, one method for each of its functions, and the
 * record classes nested in it that carry the library's arguments and results.
 *
 * <p>A program opens a context with one of the initialisation methods, which stores it in the
 * {@link Norv1.LocalIface#handle} of the instance it is given, passes that instance first to
 * every call, and ends the context with {@link Norv1.LocalIface#QUMENJNI_Uninitialize}. Every
 * method returns a status: 0 for success, the library's own failure code, or a
 * <a href="LocalIface.html#statuses">code of the bridge's</a>; results arrive in the objects
 * passed for them. The bridge raises a Java exception only for arguments it cannot convert or
 * memory it cannot have (see <a href="LocalIface.html#exceptions">Exceptions</a>); the checked
 * ones, {@code CharConversionException} where a text crosses and {@code NoSuchFieldException}
 * where an object holds a second handle, are declared by the methods that can raise them. The
 * package {@link tarvexjni} is the Java API over this class: contexts that close, exceptions
 * that carry the status, byte arrays and streams.
 *
 * <h2 id="example">Example</h2>
 *
 * <p>A complete program: it hashes a document, signs it, verifies the signature, shows how the
 * library rejects a changed message, and ends its context on every path.
 *
 * <pre>{@code
 * import Norv1.LocalIface;
 * import Norv1.LocalIface.mem_blk_t;
 * import Norv1.LocalIface.sign_param_t;
 * import Norv1.LocalIface.verify_param_t;
 * import Norv1.LocalIface.verify_result_t;
 * import java.io.CharConversionException;
 * import java.nio.charset.StandardCharsets;
 * import java.util.HexFormat;
 * import tarvexjni.Native;
 * import tarvexjni.Status;
 *
 * public final class SignAndVerify {
 *   // A text of the library that the locale's codeset cannot carry (a signer's name) ends it.
 *   public static void main(String[] args) throws CharConversionException {
 *     if (!Native.isAvailable()) {  // the vendor library or the bridge could not be loaded
 *       System.err.println("tarvexjni: " + Native.unavailabilityCause().orElseThrow().getMessage());
 *       System.exit(2);
 *     }
 *     byte[] document = "The agreement, as signed".getBytes(StandardCharsets.US_ASCII);
 *     LocalIface lib = new LocalIface();
 *     check(lib, "InitMinimal", LocalIface.QUMENJNI_InitMinimal(lib));  // the context: lib.handle
 *     try {
 *       mem_blk_t hash = new mem_blk_t();  // an output block: the bridge fills it
 *       check(lib, "HashMem", LocalIface.QUMENJNI_HashMem(lib, new mem_blk_t(document), hash));
 *       System.out.println("hash: " + HexFormat.of().formatHex(hash.bytes()));
 *
 *       mem_blk_t signed = new mem_blk_t();
 *       check(lib, "SignMem", LocalIface.QUMENJNI_SignMem(lib, new sign_param_t(),
 *           new mem_blk_t(document), null, signed));
 *
 *       mem_blk_t content = new mem_blk_t();
 *       verify_result_t result = new verify_result_t();
 *       check(lib, "VerifyMem", LocalIface.QUMENJNI_VerifyMem(lib, new verify_param_t(), signed,
 *           null, content, result));
 *       System.out.println("signed by: " + result.signs[0].cert.subject);
 *
 *       // A failure: the library rejects a changed message with a status of its own.
 *       byte[] changed = signed.bytes();
 *       changed[changed.length - 1] ^= 1;
 *       int status = LocalIface.QUMENJNI_VerifyMem(lib, new verify_param_t(),
 *           new mem_blk_t(changed), null, content, result);
 *       System.out.println("changed message: " + describe(lib, status));
 *     } finally {
 *       LocalIface.QUMENJNI_Uninitialize(lib);  // on every path
 *     }
 *   }
 *
 *   // Throws, with the library's text, when a call did not succeed.
 *   static void check(LocalIface lib, String call, int status) {
 *     if (status != 0) throw new IllegalStateException(call + " failed: " + describe(lib, status));
 *   }
 *
 *   static String describe(LocalIface lib, int status) {
 *     if (status == 0) return "accepted";
 *     String code = "status " + Status.toString(status);
 *     if (Status.isFault(status)) {  // the library crashed inside the call: its state is
 *       return "a machine fault (" + code + ")";  // undefined, so end the context
 *     }
 *     try {
 *       String text = LocalIface.QUMENJNI_GetErrorText(lib, status);
 *       return text == null ? code : text + " (" + code + ")";
 *     } catch (CharConversionException e) {  // a text the locale's codeset cannot carry
 *       return code;
 *     }
 *   }
 * }
 * }</pre>
 *
 * <p>Run it with the vendor's library named, for example
 * {@code java -Dtarvex.library=/opt/vendor/lib/libtarvex.so -cp tarvexjni.jar:. SignAndVerify}
 * (and {@code --enable-native-access=ALL-UNNAMED} on JDK 24 and later).
 */
package Norv1;
