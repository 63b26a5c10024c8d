package Norv1;

import java.io.CharConversionException;

/**
 * The Java side of the tarvexjni bridge: the native methods through which Java uses the
 * cryptographic library {@code tarvex}, and the record classes they exchange with it.
 *
 * <p>Every method is {@code static}, is named {@code QUMENJNI_<Op>} after the library function
 * {@code QUMEN_<Op>} that it calls exactly once, takes first the {@code LocalIface} whose
 * {@link #handle} holds the library's context, and returns a <a href="#statuses">status</a>
 * ({@link #QUMENJNI_GetErrorText} alone returns a {@code String}). Results arrive in the objects
 * passed for them.
 *
 * <h2 id="loading">Loading</h2>
 *
 * <p>Initialising this class loads the library's native parts, once per process. The vendor's
 * {@code libtarvex.so} ({@code tarvex.dll}) comes first from the path in the system property
 * {@code tarvex.library}, else the environment variable {@code TARVEX_LIBRARY}, else the
 * system's own search. The bridge {@code libtarvexjni.so} ({@code tarvexjni.dll}) comes from the
 * path in the system property {@code tarvexjni.library}, else from the copy inside this jar for
 * the platform, else, only when the jar has none for it, from {@code java.library.path}. The
 * jar's copy is extracted into a new folder that only its user can enter (under the system
 * property {@code tarvexjni.workdir}, else {@code java.io.tmpdir}), checked against the SHA-256
 * digest the jar records, which catches a damaged jar but not a tampered one, and deleted once
 * loaded. The bridge must report the version of this jar, or it is refused. When loading fails,
 * the {@link UnsatisfiedLinkError} says what failed and what to do, and every later use of this
 * class fails with a {@code NoClassDefFoundError}; {@link tarvexjni.Native} tells beforehand
 * whether the bridge is available, and why not. On JDK 24 and later, grant native access
 * ({@code --enable-native-access=tarvexjni} on the module path, {@code =ALL-UNNAMED} on the
 * class path) or the JVM prints a warning.
 *
 * <h2 id="context">The context</h2>
 *
 * <p>An instance holds one context of the library in {@link #handle}.
 * {@link #QUMENJNI_Initialize}, {@link #QUMENJNI_InitializeEx} and {@link #QUMENJNI_InitMinimal}
 * store a new context there when the library returns 0 and leave the field as it was
 * otherwise; the other methods read it from there and pass it to the library;
 * {@link #QUMENJNI_Uninitialize} ends it and leaves the old value in the field. The bridge
 * checks none of this: a second initialisation overwrites the field without ending the first
 * context, and 0 or an ended context goes to the library as it stands.
 *
 * <h2 id="handles">Second handles: streams, TLS sessions, enumerations</h2>
 *
 * <p>A stream (the {@code Str} stages and the streamed {@code CmsStr} and {@code TspStr} stages),
 * a TLS session and a store enumeration keep a second handle in the {@code long} field
 * {@code handle} of an object that the caller passes to every call on it: a {@link strhandle_t},
 * or any object whose class has a {@code long} field named {@code handle}. A null object reads as
 * handle 0, and a handle stored into it is lost. The bridge stores into the object after the
 * library's call, by these rules:
 * <ul>
 * <li id="init-rule"><b>Init and Create</b> ({@code ...InitMem},
 *   {@link #QUMENJNI_TlsSessionCreate}) store the new handle when the library returns 0, and 0
 *   when it fails.</li>
 * <li id="update-rule"><b>Update</b> ({@code ...UpdateMem}) leaves the handle as it is when the
 *   library returns 0 and stores 0 when it fails: a failed Update ends the stream.</li>
 * <li id="final-rule"><b>Final and Destroy</b> ({@code ...FinalMem},
 *   {@link #QUMENJNI_TlsSessionDestroy}) store 0 whatever the status: the library ends the stream
 *   or session. Their results are filled after that, whatever the status.</li>
 * <li id="enum-rule"><b>Enumeration steps</b> ({@link #QUMENJNI_EnumStoreObjects},
 *   {@link #QUMENJNI_EnumStoreObjectsEx}) store the next position when the library returns 0, and
 *   0 when it fails (at the end of the store, or on an error).</li>
 * </ul>
 * <p>The other TLS calls only read the handle, and a call that an exception stops before the
 * library's call leaves it as it was. The order of the stages is not checked: an Update
 * or Final with handle 0, or an Init over an open stream (whose handle is then lost), goes to the
 * library as it stands. A handle stored by a rule above is what the next call reads, so a stream
 * may continue on another thread as long as its calls do not overlap.
 *
 * <h2 id="blocks">Blocks, strings and {@code int[]}</h2>
 * <ul>
 * <li>An input {@link mem_blk_t} gives the library the first {@code len} bytes of {@code buf},
 *   copied: the library never writes into a caller's array. A null block, or a {@code len} below
 *   1, passes no bytes; a null {@code buf} passes no bytes with {@code len} as it stands; a
 *   {@code len} greater than the length of {@code buf} is refused before the library is called
 *   ({@code ArrayIndexOutOfBoundsException}, see <a href="#exceptions">Exceptions</a>).</li>
 * <li>An output {@link mem_blk_t} receives the library's {@code len} and, in {@code buf}, a new
 *   array of exactly {@code len} bytes (the old array is never written into); when the library
 *   gives no bytes, {@code buf} becomes null ({@code len} 0 when the library left the block
 *   empty). A null output block is accepted: the output is handed back to the library
 *   unread.</li>
 * <li>A {@code String} reaches the library in the narrow codeset of the process locale, one byte
 *   per UTF-16 unit: a character the codeset lacks becomes {@code '?'}; one that the codeset
 *   writes with several bytes (any non-ASCII character under UTF-8) is refused with
 *   {@code CharConversionException}. Null and empty strings both reach the library as null.
 *   Texts from the library arrive as new strings; an empty text arrives as null.</li>
 * <li>An {@code int[]} that carries one value each way must have exactly one element; a null
 *   array passes 0 and receives nothing.</li>
 * </ul>
 *
 * <h2 id="records">Records and ownership</h2>
 * <ul>
 * <li>The record classes mirror the library's records field by field; the bridge reads and
 *   writes their fields by name and type, and never calls a method or constructor of
 *   them.</li>
 * <li><b>Inputs are copied.</b> Parameter records, input blocks and strings are read during the
 *   call; the bridge and the library keep nothing of them afterwards, and nothing is written
 *   back into them (the one exception is the {@code target} array of
 *   {@link #QUMENJNI_EncodeMem} and {@link #QUMENJNI_DecodeMem}).</li>
 * <li><b>Results are filled in place.</b> The object passed for a result is written field by
 *   field; its identity does not change. Every nested object the bridge stores (a record, a
 *   record array, a {@code mem_blk_t}, a {@code byte[]}) is new, made without running a
 *   constructor, and replaces the field's old value. "Filled whatever the status" means that a
 *   failed library call still rewrites the object from what the library left, normally zeros,
 *   nulls and empty nested objects. A null result object is accepted: the result is handed back
 *   to the library unread.</li>
 * <li><b>Counts.</b> Every array field follows its own {@code int} count field, which is the
 *   count that matters, not the array's length. Going in, exactly count elements are read (a null
 *   array or a count below 1 passes none; a count beyond the array's length raises the virtual
 *   machine's {@code ArrayIndexOutOfBoundsException}; a null element passes an empty record).
 *   Coming out, the count is stored as the library gave it and the array is a new one of exactly
 *   count elements, or null when the library gave no list.</li>
 * <li id="times"><b>Times.</b> A {@code long} field whose name ends in {@code Ex} holds one of
 *   the library's unsigned 32-bit time values. Coming out it is widened without sign (0 to
 *   4294967295, never negative); going in only its low 32 bits are passed.</li>
 * <li><b>Native memory.</b> Every buffer and record the library returns is handed back to it
 *   before the method returns, on every path, also when an exception stopped the conversion; no
 *   native pointer reaches Java. After a <a href="#statuses">machine fault</a> the results of
 *   that call are left with the library.</li>
 * </ul>
 *
 * <h2 id="statuses">Statuses</h2>
 *
 * <table class="striped">
 * <caption>The status a method returns</caption>
 * <thead><tr><th scope="col">Status</th><th scope="col">Meaning</th></tr></thead>
 * <tbody>
 * <tr><th scope="row">0</th><td>success</td></tr>
 * <tr><th scope="row">any other value of the library</th><td>the library's own failure code,
 *   returned unchanged (after the results the method fills whatever the status)</td></tr>
 * <tr><th scope="row">{@link #PENDING_EXCEPTION}</th><td>the bridge raised a Java exception
 *   (see <a href="#exceptions">Exceptions</a>); the caller sees the exception, not the
 *   status</td></tr>
 * <tr><th scope="row">{@link #NO_BUFFER}</th><td>an intermediate buffer could not be had
 *   ({@link #QUMENJNI_CreateCertificateStore}, {@link #QUMENJNI_QueryRegistryProfile}); the
 *   library was not called</td></tr>
 * <tr><th scope="row">a machine-fault code</th><td>a fault inside the library's call, reported
 *   with the code a Windows build gives it: {@code 0xC0000005} access violation (SIGSEGV),
 *   {@code 0xC0000006} in-page error (SIGBUS; {@code 0x80000002} misaligned access),
 *   {@code 0xC0000094} integer division by zero, {@code 0xC0000095} integer overflow,
 *   {@code 0xC000008C} to {@code 0xC0000093} floating point, {@code 0xC000001D} illegal
 *   instruction ({@code 0xC0000096} privileged instruction); -1 for
 *   {@link #QUMENJNI_EncodeMem} and {@link #QUMENJNI_DecodeMem}. The bridge's clean-up still
 *   runs; the library's state after a fault is undefined, so end that context.</td></tr>
 * </tbody>
 * </table>
 *
 * <h2 id="exceptions">Exceptions</h2>
 *
 * <p>When the bridge raises an exception, the method stops converting, returns
 * {@link #PENDING_EXCEPTION}, and the caller sees the exception. Raised before the library's
 * call, the library is not called; raised while results are filled, the results filled before it
 * keep their new values and the later ones are left as they were. The first exception of a call
 * is the one the caller sees. Messages name the bridge's converter, then a colon and the field,
 * class or argument concerned:
 * <ul>
 * <li>{@code NoSuchFieldException} "<i>converter</i>:<i>field</i>": an object lacks a field of
 *   the expected name and type. With the classes of this jar that is an object passed for a
 *   second handle whose class has no {@code long} field {@code handle}:
 *   "jobject2strhandle_t:handle" or "strhandle_t2jobject:handle".</li>
 * <li>{@code ClassNotFoundException} "<i>converter</i>:<i>class</i>": a record class the bridge
 *   creates is missing, for example "certificate_t2jobject:Norv1/LocalIface$altname_t". Never
 *   with this jar: only with a copy of this class compiled without it.</li>
 * <li>{@code OutOfMemoryError} "<i>converter</i>": an allocation failed, in the bridge or in the
 *   virtual machine, or the library gave a negative length or count.</li>
 * <li>{@code CharConversionException} "jstring2string_t" or "string_t2jstring": a text does not
 *   convert one unit per byte (see <a href="#blocks">Blocks, strings</a>).</li>
 * <li>{@code ArrayIndexOutOfBoundsException} "jobject2mem_blk_t:len" (or
 *   "jobject2extension_t:len"): a block's {@code len} exceeds its array;
 *   "jintArray2intArray:array" or "intArray2jintArray:array": an {@code int[]} whose length is
 *   not 1; the virtual machine's own for a count beyond its array.</li>
 * <li>{@code NullPointerException} "<i>converter</i>:self", for example "jthis2context_t:self": the
 *   {@code LocalIface} passed first is null.</li>
 * </ul>
 *
 * <p>Each method lists under "Throws" the exceptions it can raise, each with its condition; the
 * checked ones among them are in its {@code throws} clause as well.
 *
 * <h3 id="checked">Checked exceptions</h3>
 *
 * <p>Two checked exceptions of the bridge can arise with this jar's classes, and every method
 * declares those of them it can raise: {@link CharConversionException} where a text crosses (a
 * {@code String} parameter, a record that holds texts, in either direction, the text
 * {@link #QUMENJNI_GetErrorText} returns), and {@link NoSuchFieldException} where an object is
 * passed for a <a href="#handles">second handle</a>, whose class may lack the {@code long} field
 * {@code handle}. A method that takes neither, such as {@link #QUMENJNI_InitMinimal} or
 * {@link #QUMENJNI_HashMem}, declares none. The compiler thus shows every call where they can
 * arise, and a {@code catch} clause can name them.
 * {@code ClassNotFoundException} is not declared: the bridge raises it only when a record class
 * it creates is missing, which never happens with this jar's classes, only with a copy of this
 * class compiled without one.
 *
 * <p>The declarations change compilation, not what runs. A {@code throws} clause is not part of
 * a method's descriptor: the bridge binds to the methods as before, and classes compiled against
 * the earlier declarations, which declared nothing, run unchanged. Source that calls a declaring
 * method must now catch its checked exceptions or declare them; a lambda that makes such a call
 * needs a functional interface whose method may throw them (as {@link
 * tarvexjni.Tarvex#call(String, tarvexjni.LibraryCall)} takes); code that caught
 * {@code Exception} and told the exceptions apart with {@code instanceof} compiles as before.
 * Handle them where the text or the handle object comes from:
 *
 * <pre>{@code
 * try {
 *   status = LocalIface.QUMENJNI_HashFile(lib, fileName, hash);
 * } catch (CharConversionException e) {  // the name does not fit the locale's codeset
 *   throw new IllegalArgumentException("not in the locale's codeset: " + fileName, e);
 * }
 * }</pre>
 *
 * <p>With a {@link strhandle_t} for every second handle, {@code NoSuchFieldException} cannot
 * happen; such code may say so: {@code catch (NoSuchFieldException e) { throw new
 * AssertionError(e); }}.
 *
 * <h2 id="threads">Threads</h2>
 *
 * <p>Each call runs on the calling thread and touches only the objects passed to it and the
 * handles they hold; between calls the bridge keeps nothing but the classes and field IDs it
 * resolves once. Whether one context may serve two threads at once is the library's rule; the
 * calls on one stream, session or enumeration must not overlap. A machine fault is caught only on the calling thread, during the
 * library's call.
 *
 * <h2 id="params">How the parameters are described</h2>
 * <ul>
 * <li><b>read by the library</b>: an input, copied in as described above; nothing is written
 *   back.</li>
 * <li><b>filled whatever the status</b>: rewritten after every library call, failed ones
 *   included, unless an exception stopped the call first.</li>
 * <li><b>filled on success</b>: written only when the library returns 0.</li>
 * <li><b>handle</b>: a second handle, with the <a href="#handles">rule</a> that applies.</li>
 * </ul>
 */
public final class LocalIface {

  static {
    tarvexjni.internal.NativeLoader.loadBridge();
  }

  /** The bridge raised a Java exception: the caller sees the exception, not this status. */
  public static final int PENDING_EXCEPTION = 0xE0700001;
  /**
   * The library had no text for a status; {@link #QUMENJNI_GetErrorText} then returns null.
   * Never returned by a method.
   */
  public static final int NO_ERROR_TEXT = 0xE0700002;
  /** An intermediate buffer could not be allocated; the library was not called. */
  public static final int NO_BUFFER = 0xE0700006;

  /**
   * The library's context; 0 until an initialisation succeeds (see <a href="#context">The
   * context</a>).
   */
  public long handle;

  /** Creates an instance without a context ({@link #handle} 0). */
  public LocalIface() {}

  // ---- Records -----------------------------------------------------------------------------

  /**
   * A second handle: a stream, TLS session or enumeration position (see
   * <a href="LocalIface.html#handles">Second handles</a>).
   */
  public static final class strhandle_t {

    /** The library's handle; 0 for none. */
    public long handle;

    /** Creates an object holding handle 0. */
    public strhandle_t() {}
  }

  /**
   * A byte block: the first {@code len} bytes of {@code buf} (see
   * <a href="LocalIface.html#blocks">Blocks</a>). As an input, {@code len} must not exceed the
   * length of {@code buf}; as an output, the bridge stores a new array of exactly {@code len}
   * bytes.
   */
  public static final class mem_blk_t {

    /** The bytes; null for none. */
    public byte[] buf;
    /** The number of bytes of {@link #buf} that the block holds. */
    public int len;

    /** Creates an empty block, to receive an output. */
    public mem_blk_t() {}

    /**
     * Creates a block of all the bytes of an array.
     *
     * @param buf the bytes, used without copying; null for an empty block
     */
    public mem_blk_t(byte[] buf) {
      this.buf = buf;
      this.len = buf == null ? 0 : buf.length;
    }

    /**
     * The block's bytes, exactly {@code len} of them.
     *
     * @return a copy of the first {@code len} bytes of {@code buf} (no more than it holds);
     *     empty for a null buffer or a {@code len} below 1
     */
    public byte[] bytes() {
      if (buf == null || len <= 0) return new byte[0];
      return java.util.Arrays.copyOf(buf, Math.min(len, buf.length));
    }
  }

  /**
   * Where {@link #QUMENJNI_InitializeEx} finds the user's keys and certificates; read by the
   * library.
   */
  public static final class local_param_t {

    /** Options, passed through unchanged. */
    public int flag;
    /** The personal security environment (PSE) to open; null for none. */
    public String pse;
    /** The local certificate store; null for none. */
    public String localstore;
    /** The LDAP directory; null for none. */
    public String ldap;
    /** The PIN; null for none. */
    public String pincode;

    /** Creates an empty record. */
    public local_param_t() {}
  }

  /** A certificate policy with its user-notice qualifier; element of a {@code policies} array. */
  public static final class policy_t {

    /** The policy identifier, as dotted OID text. */
    public String oid;
    /** The notice's organisation name. */
    public String org_name;
    /** The notice number. */
    public int not_num;
    /** The notice's explicit text. */
    public String text;

    /** Creates an empty record. */
    public policy_t() {}
  }

  /** One extended-key-usage purpose; element of an extended key usage array. */
  public static final class extkeyusage_t {

    /** The key purpose identifier, as dotted OID text. */
    public String oid;

    /** Creates an empty record. */
    public extkeyusage_t() {}
  }

  /** One certificate extension as raw bytes; element of an {@code extensions} array. */
  public static final class extension_t {

    /** The extension identifier, as dotted OID text. */
    public String oid;
    /** The extension's type code, passed through unchanged. */
    public int type;
    /** The criticality flag, passed through unchanged. */
    public int critical;
    /**
     * The number of bytes of {@link #data}; going in, at most its length
     * ("jobject2extension_t:len" otherwise).
     */
    public int len;
    /** The extension value's bytes; null when absent. */
    public byte[] data;

    /** Creates an empty record. */
    public extension_t() {}
  }

  /**
   * The alternative names of a certificate's issuer or subject, one text each; null when absent.
   */
  public static final class altname_t {

    /** E-mail address. */
    public String emailAddress;
    /** DNS name. */
    public String DNS;
    /** Uniform resource identifier. */
    public String URI;
    /** IP address. */
    public String IP;
    /** Organisation name. */
    public String organizationName;
    /** Registered address (the field's name is spelled so). */
    public String registredAddress;
    /** Surname. */
    public String surname;
    /** Business category. */
    public String businessCategory;
    /** Telephone number. */
    public String telephoneNumber;
    /** Description. */
    public String description;
    /** Account number. */
    public String account_number;
    /** Bank identifier. */
    public String bank_id;
    /** Physical delivery address. */
    public String physicalDelivery;
    /** Exchange address. */
    public String exchange_address;
    /** Not known to the library: ignored going in, always null coming out. */
    public String notes_address;

    /** Creates an empty record. */
    public altname_t() {}
  }

  /**
   * One X.509 certificate: names, serial number, algorithm, validity, key usage, alternative
   * names, key identifier, policies, extended key usages, extensions, and the encoding with its
   * hash. Filled by the bridge, {@link #issuerAltName}, {@link #subjectAltName},
   * {@link #certEncoded} and {@link #certHash} are always new objects.
   */
  public static final class certificate_t {

    /** Selector or presence bits defined by the library, passed through unchanged. */
    public int fields;
    /** Issuer name, as text. */
    public String issuer;
    /** Serial number, as text. */
    public String serialNumber;
    /** Subject name, as text. */
    public String subject;
    /** Algorithm, as text. */
    public String algorithm;
    /**
     * Start of validity, a <a href="LocalIface.html#times">time</a> of the library (unsigned
     * 32-bit).
     */
    public long notBeforeEx;
    /**
     * End of validity, a <a href="LocalIface.html#times">time</a> of the library (unsigned 32-bit).
     */
    public long notAfterEx;
    /** Key usage bits, passed through unchanged. */
    public int keyUsage;
    /**
     * Start of the private key's usage period, a <a href="LocalIface.html#times">time</a> of the
     * library (unsigned 32-bit).
     */
    public long notBeforePrivateEx;
    /**
     * End of the private key's usage period, a <a href="LocalIface.html#times">time</a> of the
     * library (unsigned 32-bit).
     */
    public long notAfterPrivateEx;
    /** The issuer's alternative names; null going in passes none. */
    public altname_t issuerAltName;
    /** The subject's alternative names; null going in passes none. */
    public altname_t subjectAltName;
    /** Key identifier, as text. */
    public String keyId;
    /** Number of elements of {@link #policies}. */
    public int policy_num;
    /** Certificate policies, {@link #policy_num} of them. */
    public policy_t[] policies;
    /** Number of elements of {@link #extKeyUsage}. */
    public int extkeyusage_num;
    /** Extended key usages, {@link #extkeyusage_num} of them. */
    public extkeyusage_t[] extKeyUsage;
    /** Number of elements of {@link #extensions}. */
    public int extension_num;
    /** Raw extensions, {@link #extension_num} of them. */
    public extension_t[] extensions;
    /** The encoded certificate. */
    public mem_blk_t certEncoded;
    /** The certificate's hash. */
    public mem_blk_t certHash;

    /** Creates an empty record. */
    public certificate_t() {}
  }

  /** How to sign; read by the library. */
  public static final class sign_param_t {

    /** Signing options, passed through unchanged. */
    public int flag;

    /** Creates an empty record. */
    public sign_param_t() {}
  }

  /** What a signature verification requires; read by the library. */
  public static final class verify_param_t {

    /** Verification options, passed through unchanged. */
    public int flag;
    /** Required key usage bits. */
    public int keyUsage;
    /** Number of elements of {@link #policies}. */
    public int policy_num;
    /** Required certificate policies, {@link #policy_num} of them. */
    public policy_t[] policies;
    /** Number of elements of {@link #extKeyUsage}. */
    public int extkeyusage_num;
    /** Required extended key usages, {@link #extkeyusage_num} of them. */
    public extkeyusage_t[] extKeyUsage;
    /** Number of elements of {@link #extensions}. */
    public int extension_num;
    /** Extensions, {@link #extension_num} of them. */
    public extension_t[] extensions;
    /** Number of the signature to delete, passed through unchanged. */
    public int nSignToDelete;
    /** Minimum number of signatures, passed through unchanged. */
    public int minsigns;
    /** Further options, passed through unchanged. */
    public int info;

    /** Creates an empty record. */
    public verify_param_t() {}
  }

  /** What a certificate or CRL policy check requires; read by the library. */
  public static final class verify_policy_param_t {

    /** Check options, passed through unchanged. */
    public int flag;
    /**
     * The moment at which to check, a <a href="LocalIface.html#times">time</a> of the library: its
     * low 32 bits are passed.
     */
    public long check_timeEx;
    /** Required key usage bits. */
    public int keyusage;
    /** Number of elements of {@link #extkeyusages}. */
    public int eku_num;
    /** Required extended key usages, {@link #eku_num} of them. */
    public extkeyusage_t[] extkeyusages;
    /** Number of elements of {@link #policies}. */
    public int policy_num;
    /** Required certificate policies, {@link #policy_num} of them. */
    public policy_t[] policies;

    /** Creates an empty record. */
    public verify_policy_param_t() {}
  }

  /** The outcome of a signature verification: one status per signature found. */
  public static final class verify_result_t {

    /** Number of signatures found: the number of elements of {@link #signs}. */
    public int sign_num;
    /** One status per signature, {@link #sign_num} of them; null when the library gave none. */
    public sign_status_t[] signs;

    /** Creates an empty record. */
    public verify_result_t() {}
  }

  /** The outcome for one signature; element of {@link verify_result_t#signs}. */
  public static final class sign_status_t {

    /** The signature's verification status, the library's code, passed through unchanged. */
    public int status;
    /**
     * Signing time, a <a href="LocalIface.html#times">time</a> of the library, widened without
     * sign.
     */
    public long timeEx;
    /** The signer's certificate; null when the library gives none. */
    public certificate_t cert;

    /** Creates an empty record. */
    public sign_status_t() {}
  }

  /** A certificate revocation list, as {@link LocalIface#QUMENJNI_ParseCrl} reads it. */
  public static final class crl_t {

    /** Selector or presence bits defined by the library, passed through unchanged. */
    public int fields;
    /** Issuer name, as text. */
    public String issuer;
    /**
     * Time of this update, a <a href="LocalIface.html#times">time</a> of the library, widened
     * without sign.
     */
    public long lastUpdateEx;
    /**
     * Time of the next update, a <a href="LocalIface.html#times">time</a> of the library, widened
     * without sign.
     */
    public long nextUpdateEx;
    /** The CRL number. */
    public int number;
    /** Number of elements of {@link #revcerts}. */
    public int revcert_num;
    /** The revoked certificates, {@link #revcert_num} of them; null when the library gave none. */
    public revcert_t[] revcerts;
    /** The encoded CRL; always a new object. */
    public mem_blk_t crlEncoded;
    /** The CRL's hash; always a new object. */
    public mem_blk_t crlHash;

    /** Creates an empty record. */
    public crl_t() {}
  }

  /** One revoked certificate; element of {@link crl_t#revcerts}. */
  public static final class revcert_t {

    /** Serial number of the revoked certificate, as text. */
    public String serialNumber;
    /**
     * Revocation time, a <a href="LocalIface.html#times">time</a> of the library, widened without
     * sign.
     */
    public long revtimeEx;
    /** Revocation reason code, passed through unchanged. */
    public int reason;

    /** Creates an empty record. */
    public revcert_t() {}
  }

  /**
   * An alternative-name extension's otherName entries, as {@link
   * LocalIface#QUMENJNI_ParseAltnameEx} reads them.
   */
  public static final class altname_ex_t {

    /** Number of elements of {@link #othernames}. */
    public int othername_num;
    /** The otherName entries, {@link #othername_num} of them; null when the library gave none. */
    public othername_t[] othernames;

    /** Creates an empty record. */
    public altname_ex_t() {}
  }

  /** One otherName entry; element of {@link altname_ex_t#othernames}. */
  public static final class othername_t {

    /** The otherName's type identifier, as dotted OID text. */
    public String oid;
    /** Its value, as text. */
    public String name;

    /** Creates an empty record. */
    public othername_t() {}
  }

  /**
   * A basic-constraints extension, as {@link LocalIface#QUMENJNI_ParseBasicConstraintsEx} reads it.
   */
  public static final class basic_constraints_ex_t {

    /** Certification-authority flag, passed through unchanged. */
    public int ca;
    /** Path length constraint, passed through unchanged. */
    public int pathlen;

    /** Creates an empty record. */
    public basic_constraints_ex_t() {}
  }

  /** How to encrypt, and for whom; read by the library. */
  public static final class encrypt_param_t {

    /** Encryption options, passed through unchanged. */
    public int flag;
    /** Number of elements of {@link #receivers}. */
    public int receiver_num;
    /** The receivers' certificates, {@link #receiver_num} of them. */
    public certificate_t[] receivers;

    /** Creates an empty record. */
    public encrypt_param_t() {}
  }

  /** How to decrypt; read by the library. */
  public static final class decrypt_param_t {

    /** Decryption options, passed through unchanged. */
    public int flag;
    /** Further options, passed through unchanged. */
    public int info;

    /** Creates an empty record. */
    public decrypt_param_t() {}
  }

  /** The outcome of a decryption. */
  public static final class decrypt_result_t {

    /** The certificate of the message's sender; always a new object. */
    public certificate_t sender;

    /** Creates an empty record. */
    public decrypt_result_t() {}
  }

  /** A certificate's issuer name with its serial number. */
  public static final class issuer_and_serial_t {

    /** Issuer name, as text. */
    public String issuer;
    /** Serial number, as text. */
    public String serialNumber;

    /** Creates an empty record. */
    public issuer_and_serial_t() {}
  }

  /**
   * One certificate identifier, of the kind {@link #type} names: the matching field holds it and
   * the other three are null (all four for a type other than 0 to 3). Always a new object.
   */
  public static final class certid_t {

    /**
     * The kind of identifier: 0 {@link #ias}, 1 {@link #keyId}, 2 {@link #certHash}, 3 {@link
     * #alias}.
     */
    public int type;
    /** Type 0: the certificate's issuer and serial number. */
    public issuer_and_serial_t ias;
    /** Type 1: the key identifier, as text. */
    public String keyId;
    /** Type 2: the certificate's hash. */
    public mem_blk_t certHash;
    /** Type 3: the certificate's alias. */
    public String alias;

    /** Creates an empty record. */
    public certid_t() {}
  }

  /** One signature of a signed message; element of {@link signed_info_result_t#infos}. */
  public static final class sign_info_t {

    /**
     * Signing time, a <a href="LocalIface.html#times">time</a> of the library, widened without
     * sign.
     */
    public long timeEx;
    /** The identifier of the signer's certificate; always a new object. */
    public certid_t certid;

    /** Creates an empty record. */
    public sign_info_t() {}
  }

  /** The signatures a signed message carries. */
  public static final class signed_info_result_t {

    /** The message type the library reports, passed through unchanged. */
    public int type;
    /** Number of signatures: the number of elements of {@link #infos}. */
    public int sign_num;
    /** One entry per signature, {@link #sign_num} of them; null when there are none. */
    public sign_info_t[] infos;

    /** Creates an empty record. */
    public signed_info_result_t() {}
  }

  /** The recipients and the sender of an encrypted message. */
  public static final class encrypted_info_result_t {

    /** The message type the library reports, passed through unchanged. */
    public int type;
    /** Number of recipients: the number of elements of {@link #recipients}. */
    public int recipients_num;
    /**
     * The recipients' certificate identifiers, {@link #recipients_num} of them; null when there are
     * none.
     */
    public certid_t[] recipients;
    /** The identifier of the sender's certificate; always a new object. */
    public certid_t sender;

    /** Creates an empty record. */
    public encrypted_info_result_t() {}
  }

  /** The structure of a PKCS#7 message: its type, signers, content cipher and recipients. */
  public static final class pkcs7_info_t {

    /** The message type the library reports, passed through unchanged. */
    public int type;
    /** Number of signers: the number of elements of {@link #signers}. */
    public int signer_num;
    /** The signers, {@link #signer_num} of them; null when there are none. */
    public pkcs7_signer_t[] signers;
    /** The content's cipher, as text. */
    public String dataCipher;
    /** Number of recipients: the number of elements of {@link #recipients}. */
    public int recipient_num;
    /** The recipients, {@link #recipient_num} of them; null when there are none. */
    public pkcs7_recipient_t[] recipients;

    /** Creates an empty record. */
    public pkcs7_info_t() {}
  }

  /** One signer of a PKCS#7 message; element of {@link pkcs7_info_t#signers}. */
  public static final class pkcs7_signer_t {

    /** The signer's digest algorithm, as text. */
    public String digest;
    /** The signer's encryption algorithm, as text. */
    public String encryption;
    /** Issuer and serial number of the signer's certificate; always a new object. */
    public issuer_and_serial_t signer;
    /** Number of elements of {@link #authAttrs}. */
    public int authAttr_num;
    /**
     * The authenticated attributes, one text each, {@link #authAttr_num} of them; null when there
     * are none.
     */
    public String[] authAttrs;
    /** Number of elements of {@link #unauthAttrs}. */
    public int unauthAttr_num;
    /**
     * The unauthenticated attributes, one text each, {@link #unauthAttr_num} of them; null when
     * there are none.
     */
    public String[] unauthAttrs;

    /** Creates an empty record. */
    public pkcs7_signer_t() {}
  }

  /** One recipient of a PKCS#7 message; element of {@link pkcs7_info_t#recipients}. */
  public static final class pkcs7_recipient_t {

    /** The recipient's public key algorithm, as text. */
    public String publicKey;
    /** Issuer and serial number of the recipient's certificate; always a new object. */
    public issuer_and_serial_t recipient;

    /** Creates an empty record. */
    public pkcs7_recipient_t() {}
  }

  /** Options of an import into the store; read by the library. */
  public static final class import_param_t {

    /** Import options, passed through unchanged. */
    public int flag;

    /** Creates an empty record. */
    public import_param_t() {}
  }

  /** Options of an export from the store; read by the library. */
  public static final class export_param_t {

    /** Export options, passed through unchanged. */
    public int flag;

    /** Creates an empty record. */
    public export_param_t() {}
  }

  /** Options of adding a certificate or CRL to the store; read by the library. */
  public static final class add_param_t {

    /** Options, passed through unchanged. */
    public int flag;

    /** Creates an empty record. */
    public add_param_t() {}
  }

  /** What a certificate search looks for; read by the library. */
  public static final class find_param_t {

    /** Search options, passed through unchanged. */
    public int flag;
    /**
     * A template whose filled fields describe the certificates sought; null passes an empty one.
     */
    public certificate_t certTemplate;
    /** Further search options, passed through unchanged. */
    public int info;

    /** Creates an empty record. */
    public find_param_t() {}
  }

  /** The certificates a search found. */
  public static final class find_result_t {

    /** Number of certificates found: the number of elements of {@link #certs}. */
    public int num;
    /** The certificates found, {@link #num} of them; null when the library gave none. */
    public certificate_t[] certs;

    /** Creates an empty record. */
    public find_result_t() {}
  }

  /** Options of a time-stamp request or stamping; read by the library. */
  public static final class tsp_request_param_t {

    /** Request options, passed through unchanged. */
    public int flag;
    /** Index value, passed through unchanged. */
    public int index;

    /** Creates an empty record. */
    public tsp_request_param_t() {}
  }

  /** Options of signing a time-stamp response; read by the library. */
  public static final class tsp_response_param_t {

    /** Response options, passed through unchanged. */
    public int flag;

    /** Creates an empty record. */
    public tsp_response_param_t() {}
  }

  /** Options of a time-stamp verification; read by the library. */
  public static final class tsp_verify_param_t {

    /** Verification options, passed through unchanged. */
    public int flag;
    /** Index value, passed through unchanged. */
    public int index;
    /** Further options, passed through unchanged. */
    public int info;

    /** Creates an empty record. */
    public tsp_verify_param_t() {}
  }

  /** The outcome of a time-stamp verification. */
  public static final class tsp_verify_result_t {

    /**
     * Time of the time-stamp, a <a href="LocalIface.html#times">time</a> of the library, widened
     * without sign.
     */
    public long timeEx;
    /** The time-stamp authority's certificate; null when the library gives none. */
    public certificate_t cert;

    /** Creates an empty record. */
    public tsp_verify_result_t() {}
  }

  /** Options of building an OCSP request or obtaining a response; read by the library. */
  public static final class ocsp_request_param_t {

    /** Options, passed through unchanged. */
    public int flag;

    /** Creates an empty record. */
    public ocsp_request_param_t() {}
  }

  /** Options of signing an OCSP response; read by the library. */
  public static final class ocsp_response_param_t {

    /** Options, passed through unchanged. */
    public int flag;

    /** Creates an empty record. */
    public ocsp_response_param_t() {}
  }

  /** Options of verifying an OCSP response; read by the library. */
  public static final class ocsp_verify_param_t {

    /** Verification options, passed through unchanged. */
    public int flag;
    /** Further options, passed through unchanged. */
    public int info;

    /** Creates an empty record. */
    public ocsp_verify_param_t() {}
  }

  /** The status of the certificate asked about, as a verified OCSP response states it. */
  public static final class ocsp_verify_result_t {

    /** Certificate status code, the library's, passed through unchanged. */
    public int status;
    /** Revocation reason code, passed through unchanged. */
    public int reason;
    /**
     * Revocation time, a <a href="LocalIface.html#times">time</a> of the library, widened without
     * sign.
     */
    public long revtimeEx;
    /**
     * Time of this update of the status, a <a href="LocalIface.html#times">time</a> of the library,
     * widened without sign.
     */
    public long thisupdEx;
    /**
     * Time of the next update, a <a href="LocalIface.html#times">time</a> of the library, widened
     * without sign.
     */
    public long nextupdEx;
    /** The certificate the library reports with the result; null when it gives none. */
    public certificate_t cert;

    /** Creates an empty record. */
    public ocsp_verify_result_t() {}
  }

  /**
   * A CMS certificate identifier of the kind {@link #type} names: type 1 fills {@link #issuer},
   * {@link #serialNum} and {@link #certHash}, type 2 {@link #subjKeyId}; the fields of the other
   * kind, and all four for any other type, stay null (the bridge always makes a new object).
   */
  public static final class cms_certid_t {

    /** 1: issuer and serial number; 2: subject key identifier; other values: nothing more. */
    public int type;
    /** Type 1: issuer name, as text. */
    public String issuer;
    /** Type 2: subject key identifier, as text. */
    public String subjKeyId;
    /** Type 1: serial number, as text. */
    public String serialNum;
    /** Type 1: the certificate's hash, as text. */
    public String certHash;

    /** Creates an empty record. */
    public cms_certid_t() {}
  }

  /** One signer of a CMS message; element of {@link cms_msginf_t#signers}. */
  public static final class cms_siginf_t {

    /** Signer information version. */
    public int version;
    /** Digest algorithm, as text. */
    public String digestAlg;
    /** Signature algorithm, as text. */
    public String signatureAlg;
    /** The signer's certificate identifier; always a new object. */
    public cms_certid_t signerId;
    /**
     * Signing time, a <a href="LocalIface.html#times">time</a> of the library, widened without
     * sign.
     */
    public long signingTimeEx;
    /** Number of elements of {@link #authAttrs}. */
    public int authAttr_num;
    /**
     * The authenticated attributes, one text each, {@link #authAttr_num} of them; null when there
     * are none.
     */
    public String[] authAttrs;
    /** Number of elements of {@link #unauthAttrs}. */
    public int unauthAttr_num;
    /**
     * The unauthenticated attributes, one text each, {@link #unauthAttr_num} of them; null when
     * there are none.
     */
    public String[] unauthAttrs;

    /** Creates an empty record. */
    public cms_siginf_t() {}
  }

  /** One recipient of an enveloped CMS message; element of {@link cms_msginf_t#recipients}. */
  public static final class cms_recinf_t {

    /** Recipient information type code, passed through unchanged. */
    public int type;
    /** Index value the library reports, passed through unchanged. */
    public int index;
    /** Recipient information version. */
    public int version;
    /** The originator's certificate identifier; always a new object. */
    public cms_certid_t originatorId;
    /** Public key algorithm, as text. */
    public String publicKeyAlg;
    /** Key encryption algorithm, as text. */
    public String cipherAlg;
    /** The recipient's certificate identifier; always a new object. */
    public cms_certid_t recipientId;

    /** Creates an empty record. */
    public cms_recinf_t() {}
  }

  /**
   * What a CMS message holds, read without opening it. {@link #type} 1 fills {@link #signer_num}
   * and {@link #signers}, type 2 {@link #recipient_num} and {@link #recipients}; the other pair,
   * and both for any other type, keep their values.
   */
  public static final class cms_msginf_t {

    /** 1: a signed message; 2: an enveloped message; other values: neither list. */
    public int type;
    /** Flags the library reports, passed through unchanged. */
    public int flags;
    /** Type 1: number of elements of {@link #signers}. */
    public int signer_num;
    /** Type 1: the signers, {@link #signer_num} of them; null when the library gave none. */
    public cms_siginf_t[] signers;
    /** Type 2: number of elements of {@link #recipients}. */
    public int recipient_num;
    /** Type 2: the recipients, {@link #recipient_num} of them; null when the library gave none. */
    public cms_recinf_t[] recipients;
    /** Content encryption algorithm, as text. */
    public String cipherAlg;
    /** Number of elements of {@link #unprotAttrs}. */
    public int unprotAttr_num;
    /**
     * The unprotected attributes, one text each, {@link #unprotAttr_num} of them; null when there
     * are none.
     */
    public String[] unprotAttrs;

    /** Creates an empty record. */
    public cms_msginf_t() {}
  }

  // ---- Library lifecycle ---------------------------------------------------------------------

  /**
   * Starts the library and creates a context.
   *
   * @param context receives the new context in {@link #handle}, filled on success
   * @param name read by the library: a name whose meaning is the library's; null or empty passes
   *     null
   * @param option read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code name} holds a character that the narrow codeset
   *     writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("context_t2jthis:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_Initialize(LocalIface context, String name, int option)
    throws CharConversionException;

  /**
   * Starts the library with the user's key and certificate locations and creates a context.
   *
   * @param context receives the new context in {@link #handle}, filled on success
   * @param option read by the library, passed through unchanged
   * @param param read by the library; null passes an empty record
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("context_t2jthis:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2local_param_t"
   */
  public static native int QUMENJNI_InitializeEx(
    LocalIface context,
    int option,
    local_param_t param
  ) throws CharConversionException;

  /**
   * Starts the library with its minimal setup and creates a context.
   *
   * @param context receives the new context in {@link #handle}, filled on success
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("context_t2jthis:self"); the library
   *     is not called
   */
  public static native int QUMENJNI_InitMinimal(LocalIface context);

  /**
   * Ends a context. {@link #handle} keeps the ended value.
   *
   * @param context holds the context to end
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   */
  public static native int QUMENJNI_Uninitialize(LocalIface context);

  // ---- Diagnostics and utilities -------------------------------------------------------------

  /**
   * The library's text for a status.
   *
   * @param context holds the library's context
   * @param status the status to describe
   * @return the text; null when the library has none (an unknown status), for an empty text,
   *     when no buffer could be had, after a machine fault, or with an exception pending
   * @throws CharConversionException if the returned text does not decode to one character per byte
   *     ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the text is made; the message names the
   *     converter, such as "string_t2jstring"
   */
  public static native String QUMENJNI_GetErrorText(LocalIface context, int status)
    throws CharConversionException;

  /**
   * Details of the library's last error. The meaning of each detail is the library's.
   *
   * @param context holds the library's context
   * @param firstDetail filled whatever the status
   * @param secondDetail filled whatever the status
   * @param number filled whatever the status: element 0 receives the library's number; exactly
   *     one element, null to drop it
   * @param lastDetail filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if {@code number} is not null and has not exactly one
   *     element ("intArray2jintArray:array"), after the library's call
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "mem_blk_t2jobject"
   */
  public static native int QUMENJNI_GetErrorLineEx(
    LocalIface context,
    mem_blk_t firstDetail,
    mem_blk_t secondDetail,
    int[] number,
    mem_blk_t lastDetail
  );

  /**
   * Random bytes.
   *
   * @param context holds the library's context
   * @param count read by the library: how many bytes to make
   * @param random filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "mem_blk_t2jobject"
   */
  public static native int QUMENJNI_GenRandom(LocalIface context, int count, mem_blk_t random);

  /**
   * Encodes bytes in place, without a context. No block rules apply: the arrays are passed
   * whole.
   * The bridge raises no exception here.
   *
   * @param context not read
   * @param target read and written by the library: what it writes into the array is copied back,
   *     whatever the status; null passes no array
   * @param source read by the library; null passes no array
   * @param length read by the library: the number of bytes to process
   * @return the library's status, or -1 after a machine fault
   */
  public static native int QUMENJNI_EncodeMem(
    LocalIface context,
    byte[] target,
    byte[] source,
    int length
  );

  /**
   * Decodes bytes in place, without a context; the counterpart of {@link #QUMENJNI_EncodeMem}.
   * The bridge raises no exception here.
   *
   * @param context not read
   * @param target read and written by the library: what it writes into the array is copied back,
   *     whatever the status; null passes no array
   * @param source read by the library; null passes no array
   * @param length read by the library: the number of bytes to process
   * @return the library's status, or -1 after a machine fault
   */
  public static native int QUMENJNI_DecodeMem(
    LocalIface context,
    byte[] target,
    byte[] source,
    int length
  );

  /**
   * Refreshes the library's certificate revocation lists.
   *
   * @param context holds the library's context
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   */
  public static native int QUMENJNI_UpdateCRLs(LocalIface context);

  /**
   * Exports the user's certificates to the operating system's certificate store.
   *
   * @param context holds the library's context
   * @param option read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   */
  public static native int QUMENJNI_ExportToSystemStore(LocalIface context, int option);

  /**
   * The library's general control call. With selector 4 the input is not passed, and the library
   * writes its output into a 4096-byte buffer that the bridge offers.
   *
   * @param context holds the library's context
   * @param value read by the library, passed through unchanged as a 64-bit value
   * @param selector read by the library: which control operation
   * @param input read by the library (not passed with selector 4)
   * @param output filled whatever the status
   * @param option read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_ControlEx(
    LocalIface context,
    long value,
    int selector,
    mem_blk_t input,
    mem_blk_t output,
    int option
  );

  // ---- Hashing and one-shot signing ----------------------------------------------------------

  /**
   * Hashes a block.
   *
   * @param context holds the library's context
   * @param data read by the library
   * @param hash filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code data} exceeds the length of
   *     its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_HashMem(LocalIface context, mem_blk_t data, mem_blk_t hash);

  /**
   * Hashes a file.
   *
   * @param context holds the library's context
   * @param dataFile read by the library: the name of the file to hash
   * @param hash filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code dataFile} holds a character that the narrow codeset
   *     writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_HashFile(LocalIface context, String dataFile, mem_blk_t hash)
    throws CharConversionException;

  /**
   * Hashes a block, with a leading text for the library.
   *
   * @param context holds the library's context
   * @param text read by the library: a text whose meaning is the library's; null or empty passes
   *     null
   * @param data read by the library
   * @param hash filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code text} holds a character that the narrow codeset
   *     writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code data} exceeds the length of
   *     its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_BlkHashMem(
    LocalIface context,
    String text,
    mem_blk_t data,
    mem_blk_t hash
  ) throws CharConversionException;

  /**
   * Hashes a file, with a leading text for the library.
   *
   * @param context holds the library's context
   * @param text read by the library: a text whose meaning is the library's; null or empty passes
   *     null
   * @param dataFile read by the library: the name of the file to hash
   * @param hash filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code text} or {@code dataFile} holds a character that the
   *     narrow codeset writes with more than one byte ("jstring2string_t"); the library is not
   *     called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_BlkHashFile(
    LocalIface context,
    String text,
    String dataFile,
    mem_blk_t hash
  ) throws CharConversionException;

  /**
   * Signs a message in one call. The roles of the two inputs are the library's; the content to
   * sign goes first.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param input read by the library: the content to sign
   * @param secondInput read by the library; null passes no bytes
   * @param signed filled whatever the status: the signed output
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} or
   *     {@code secondInput} exceeds the length of its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_SignMem(
    LocalIface context,
    sign_param_t param,
    mem_blk_t input,
    mem_blk_t secondInput,
    mem_blk_t signed
  );

  /**
   * Signs a file in one call; {@link #QUMENJNI_SignMem} with file names. The library writes the
   * output file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param inputFile read by the library: the file to sign
   * @param secondInputFile read by the library; null or empty passes null
   * @param outputFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code inputFile}, {@code secondInputFile} or
   *     {@code outputFile} holds a character that the narrow codeset writes with more than one byte
   *     ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_SignFile(
    LocalIface context,
    sign_param_t param,
    String inputFile,
    String secondInputFile,
    String outputFile
  ) throws CharConversionException;

  /**
   * Verifies a signed message in one call. The roles of the two inputs are the library's; the
   * signed message goes first.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param signed read by the library: the signed message
   * @param secondInput read by the library; null passes no bytes
   * @param content filled whatever the status: the content the library returns
   * @param result filled whatever the status: one status per signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code signed} or
   *     {@code secondInput} exceeds the length of its {@code buf} ("jobject2mem_blk_t:len"); a
   *     count in {@code param} exceeds the length of its array (the virtual machine's own
   *     exception); or an extension in {@code param} has a {@code len} beyond its {@code data}
   *     ("jobject2extension_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_VerifyMem(
    LocalIface context,
    verify_param_t param,
    mem_blk_t signed,
    mem_blk_t secondInput,
    mem_blk_t content,
    verify_result_t result
  ) throws CharConversionException;

  /**
   * Verifies a signed file in one call; {@link #QUMENJNI_VerifyMem} with file names.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param signedFile read by the library: the signed file
   * @param secondInputFile read by the library; null or empty passes null
   * @param contentFile read by the library: the file to write the content into
   * @param result filled whatever the status: one status per signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code signedFile}, {@code secondInputFile} or
   *     {@code contentFile} or a text in {@code param} holds a character that the narrow codeset
   *     writes with more than one byte ("jstring2string_t"; the library is not called), or if a
   *     text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_VerifyFile(
    LocalIface context,
    verify_param_t param,
    String signedFile,
    String secondInputFile,
    String contentFile,
    verify_result_t result
  ) throws CharConversionException;

  /**
   * Signs a hash.
   *
   * @param context holds the library's context
   * @param ignored not read; the library receives null in its place
   * @param hash read by the library: the hash to sign
   * @param signature filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code hash} exceeds the length of
   *     its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_SignHashMem(
    LocalIface context,
    Object ignored,
    mem_blk_t hash,
    mem_blk_t signature
  );

  /**
   * Verifies the signature of a hash. All three blocks are inputs; their roles are the
   * library's.
   *
   * @param context holds the library's context
   * @param ignored not read; the library receives null in its place
   * @param input read by the library
   * @param secondInput read by the library
   * @param thirdInput read by the library
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input}, {@code secondInput}
   *     or {@code thirdInput} exceeds the length of its {@code buf} ("jobject2mem_blk_t:len"),
   *     before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_VerifyHashMem(
    LocalIface context,
    Object ignored,
    mem_blk_t input,
    mem_blk_t secondInput,
    mem_blk_t thirdInput
  );

  // ---- Certificate and CRL inspection --------------------------------------------------------

  /**
   * Parses a certificate.
   *
   * @param context holds the library's context
   * @param encoded read by the library: the encoded certificate
   * @param flag read by the library, passed through unchanged
   * @param cert filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code cert} does not decode to
   *     one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encoded} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_ParseCert(
    LocalIface context,
    mem_blk_t encoded,
    int flag,
    certificate_t cert
  ) throws CharConversionException;

  /**
   * Verifies a certificate and parses it.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param encoded read by the library: the encoded certificate
   * @param cert filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code cert} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encoded} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code param} exceeds the length
   *     of its array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_VerifyCert(
    LocalIface context,
    verify_param_t param,
    mem_blk_t encoded,
    certificate_t cert
  ) throws CharConversionException;

  /**
   * Checks a certificate against a policy.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param encoded read by the library: the encoded certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encoded} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); or a count in {@code param} exceeds the
   *     length of its array (the virtual machine's own exception), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2verify_policy_param_t"
   */
  public static native int QUMENJNI_VerifyCertificatePolicy(
    LocalIface context,
    verify_policy_param_t param,
    mem_blk_t encoded
  ) throws CharConversionException;

  /**
   * Parses a certificate revocation list.
   *
   * @param context holds the library's context
   * @param encoded read by the library: the encoded CRL
   * @param flag read by the library, passed through unchanged
   * @param crl filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code crl} does not decode to
   *     one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encoded} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_ParseCrl(
    LocalIface context,
    mem_blk_t encoded,
    int flag,
    crl_t crl
  ) throws CharConversionException;

  /**
   * Checks a certificate revocation list against a policy.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param encoded read by the library: the encoded CRL
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encoded} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); or a count in {@code param} exceeds the
   *     length of its array (the virtual machine's own exception), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2verify_policy_param_t"
   */
  public static native int QUMENJNI_VerifyCrlPolicy(
    LocalIface context,
    verify_policy_param_t param,
    mem_blk_t encoded
  ) throws CharConversionException;

  /**
   * Parses the otherName entries of an alternative-name extension.
   *
   * @param context holds the library's context
   * @param encoded read by the library: the encoded extension
   * @param altname filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code altname} does not decode
   *     to one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encoded} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_ParseAltnameEx(
    LocalIface context,
    mem_blk_t encoded,
    altname_ex_t altname
  ) throws CharConversionException;

  /**
   * Parses a basic-constraints extension.
   *
   * @param context holds the library's context
   * @param encoded read by the library: the encoded extension
   * @param constraints filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encoded} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_ParseBasicConstraintsEx(
    LocalIface context,
    mem_blk_t encoded,
    basic_constraints_ex_t constraints
  );

  /**
   * Parses a key-identifier extension.
   *
   * @param context holds the library's context
   * @param encoded read by the library: the encoded extension
   * @param keyId filled whatever the status: the key identifier's bytes
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encoded} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_ParseKeyIdentifierEx(
    LocalIface context,
    mem_blk_t encoded,
    mem_blk_t keyId
  );

  /**
   * Shows a certificate; how is the library's affair.
   *
   * @param context holds the library's context
   * @param encoded read by the library: the encoded certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encoded} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_ShowCertificate(LocalIface context, mem_blk_t encoded);

  /**
   * Shows a certificate revocation list; how is the library's affair.
   *
   * @param context holds the library's context
   * @param encoded read by the library: the encoded CRL
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encoded} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_ShowCrl(LocalIface context, mem_blk_t encoded);

  /**
   * Shows a certificate, with a value for the library.
   *
   * @param context holds the library's context
   * @param value read by the library, passed through unchanged as a 64-bit value
   * @param encoded read by the library: the encoded certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encoded} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_ShowCertificateEx(
    LocalIface context,
    long value,
    mem_blk_t encoded
  );

  /**
   * Shows a certificate revocation list, with a value for the library.
   *
   * @param context holds the library's context
   * @param value read by the library, passed through unchanged as a 64-bit value
   * @param encoded read by the library: the encoded CRL
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encoded} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_ShowCrlEx(LocalIface context, long value, mem_blk_t encoded);

  /**
   * Shows a certificate request, with a value for the library.
   *
   * @param context holds the library's context
   * @param value read by the library, passed through unchanged as a 64-bit value
   * @param encoded read by the library: the encoded request
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encoded} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_ShowRequestEx(
    LocalIface context,
    long value,
    mem_blk_t encoded
  );

  /**
   * Shows a revocation, with a value for the library.
   *
   * @param context holds the library's context
   * @param value read by the library, passed through unchanged as a 64-bit value
   * @param encoded read by the library: the encoded revocation
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encoded} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_ShowRevocationEx(
    LocalIface context,
    long value,
    mem_blk_t encoded
  );

  /**
   * Builds an XML certificate request from a certificate description.
   *
   * @param context holds the library's context
   * @param flag read by the library, passed through unchanged
   * @param cert read by the library; null passes an empty record
   * @param request filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code cert} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code cert} exceeds the length of its
   *     array (the virtual machine's own exception); an extension in {@code cert} has a {@code len}
   *     beyond its {@code data} ("jobject2extension_t:len"); or a block in {@code cert} has a
   *     {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2certificate_t"
   */
  public static native int QUMENJNI_CreateXmlRequest(
    LocalIface context,
    int flag,
    certificate_t cert,
    mem_blk_t request
  ) throws CharConversionException;

  // ---- PKCS#7 envelopes ----------------------------------------------------------------------

  /**
   * Encrypts a message for its receivers.
   *
   * @param context holds the library's context
   * @param param read by the library: options and the receivers' certificates; null passes an
   *     empty record
   * @param content read by the library: the content to encrypt
   * @param encrypted filled whatever the status: the encrypted message
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code content} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code param} exceeds the length
   *     of its array (the virtual machine's own exception); an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"); or a block in
   *     {@code param} has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2encrypt_param_t"
   */
  public static native int QUMENJNI_EncryptMem(
    LocalIface context,
    encrypt_param_t param,
    mem_blk_t content,
    mem_blk_t encrypted
  ) throws CharConversionException;

  /**
   * Encrypts a file for its receivers. The library writes the output file.
   *
   * @param context holds the library's context
   * @param param read by the library: options and the receivers' certificates; null passes an
   *     empty record
   * @param contentFile read by the library: the file to encrypt
   * @param encryptedFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code contentFile} or {@code encryptedFile} or a text in
   *     {@code param} holds a character that the narrow codeset writes with more than one byte
   *     ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"); or a block in
   *     {@code param} has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2encrypt_param_t"
   */
  public static native int QUMENJNI_EncryptFile(
    LocalIface context,
    encrypt_param_t param,
    String contentFile,
    String encryptedFile
  ) throws CharConversionException;

  /**
   * Decrypts a message.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param encrypted read by the library: the encrypted message
   * @param content filled whatever the status: the decrypted content
   * @param result filled whatever the status: the sender's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code result} does not decode
   *     to one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encrypted} exceeds the
   *     length of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_DecryptMem(
    LocalIface context,
    decrypt_param_t param,
    mem_blk_t encrypted,
    mem_blk_t content,
    decrypt_result_t result
  ) throws CharConversionException;

  /**
   * Decrypts a file. The library writes the output file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param encryptedFile read by the library: the file to decrypt
   * @param contentFile read by the library: the file to write
   * @param result filled whatever the status: the sender's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code encryptedFile} or {@code contentFile} holds a
   *     character that the narrow codeset writes with more than one byte ("jstring2string_t"; the
   *     library is not called), or if a text the library gives in {@code result} does not decode to
   *     one character per byte ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_DecryptFile(
    LocalIface context,
    decrypt_param_t param,
    String encryptedFile,
    String contentFile,
    decrypt_result_t result
  ) throws CharConversionException;

  /**
   * Lists the signatures a signed message carries.
   *
   * @param context holds the library's context
   * @param signed read by the library: the signed message
   * @param result filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code result} does not decode
   *     to one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code signed} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_SignedInfoMem(
    LocalIface context,
    mem_blk_t signed,
    signed_info_result_t result
  ) throws CharConversionException;

  /**
   * Lists the signatures a signed file carries.
   *
   * @param context holds the library's context
   * @param signedFile read by the library: the signed file
   * @param result filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code signedFile} holds a character that the narrow codeset
   *     writes with more than one byte ("jstring2string_t"; the library is not called), or if a
   *     text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_SignedInfoFile(
    LocalIface context,
    String signedFile,
    signed_info_result_t result
  ) throws CharConversionException;

  /**
   * Lists the recipients and the sender of an encrypted message.
   *
   * @param context holds the library's context
   * @param encrypted read by the library: the encrypted message
   * @param result filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code result} does not decode
   *     to one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encrypted} exceeds the
   *     length of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_EncryptedInfoMem(
    LocalIface context,
    mem_blk_t encrypted,
    encrypted_info_result_t result
  ) throws CharConversionException;

  /**
   * Lists the recipients and the sender of an encrypted file.
   *
   * @param context holds the library's context
   * @param encryptedFile read by the library: the encrypted file
   * @param result filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code encryptedFile} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_EncryptedInfoFile(
    LocalIface context,
    String encryptedFile,
    encrypted_info_result_t result
  ) throws CharConversionException;

  /**
   * Joins a signature and its data into one signed message. The order of the two inputs is the
   * library's.
   *
   * @param context holds the library's context
   * @param input read by the library
   * @param secondInput read by the library
   * @param signed filled whatever the status: the signed message
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} or
   *     {@code secondInput} exceeds the length of its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_AttachSignMem(
    LocalIface context,
    mem_blk_t input,
    mem_blk_t secondInput,
    mem_blk_t signed
  );

  /**
   * Joins a signature file and its data file into one signed file. The library writes the output
   * file.
   *
   * @param context holds the library's context
   * @param inputFile read by the library
   * @param secondInputFile read by the library
   * @param signedFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code inputFile}, {@code secondInputFile} or
   *     {@code signedFile} holds a character that the narrow codeset writes with more than one byte
   *     ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_AttachSignFile(
    LocalIface context,
    String inputFile,
    String secondInputFile,
    String signedFile
  ) throws CharConversionException;

  /**
   * Splits a signed message into two outputs, signature and data, in the library's order.
   *
   * @param context holds the library's context
   * @param signed read by the library: the signed message
   * @param output filled whatever the status
   * @param secondOutput filled whatever the status, after {@code output}
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code signed} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_DetachSignMem(
    LocalIface context,
    mem_blk_t signed,
    mem_blk_t output,
    mem_blk_t secondOutput
  );

  /**
   * Splits a signed file into two files, in the library's order. The library writes them.
   *
   * @param context holds the library's context
   * @param signedFile read by the library: the signed file
   * @param outputFile read by the library: the first file to write
   * @param secondOutputFile read by the library: the second file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code signedFile}, {@code outputFile} or
   *     {@code secondOutputFile} holds a character that the narrow codeset writes with more than
   *     one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_DetachSignFile(
    LocalIface context,
    String signedFile,
    String outputFile,
    String secondOutputFile
  ) throws CharConversionException;

  /**
   * Verifies a signed message and signs it in one call.
   *
   * @param context holds the library's context
   * @param verifyParam read by the library; null passes an empty record
   * @param signParam read by the library; null passes an empty record
   * @param input read by the library
   * @param secondInput read by the library
   * @param output filled whatever the status
   * @param result filled whatever the status, after {@code output}: one status per signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code verifyParam} holds a character that the
   *     narrow codeset writes with more than one byte ("jstring2string_t"; the library is not
   *     called), or if a text the library gives in {@code result} does not decode to one character
   *     per byte ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} or
   *     {@code secondInput} exceeds the length of its {@code buf} ("jobject2mem_blk_t:len"); a
   *     count in {@code verifyParam} exceeds the length of its array (the virtual machine's own
   *     exception); or an extension in {@code verifyParam} has a {@code len} beyond its
   *     {@code data} ("jobject2extension_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_VerifyAndSignMem(
    LocalIface context,
    verify_param_t verifyParam,
    sign_param_t signParam,
    mem_blk_t input,
    mem_blk_t secondInput,
    mem_blk_t output,
    verify_result_t result
  ) throws CharConversionException;

  /**
   * Verifies a signed file and signs it in one call. The library writes the output file.
   *
   * @param context holds the library's context
   * @param verifyParam read by the library; null passes an empty record
   * @param signParam read by the library; null passes an empty record
   * @param inputFile read by the library
   * @param secondInputFile read by the library
   * @param outputFile read by the library: the file to write
   * @param result filled whatever the status: one status per signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code inputFile}, {@code secondInputFile} or
   *     {@code outputFile} or a text in {@code verifyParam} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code verifyParam} exceeds the length of
   *     its array (the virtual machine's own exception); or an extension in {@code verifyParam} has
   *     a {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_VerifyAndSignFile(
    LocalIface context,
    verify_param_t verifyParam,
    sign_param_t signParam,
    String inputFile,
    String secondInputFile,
    String outputFile,
    verify_result_t result
  ) throws CharConversionException;

  /**
   * Signs a message and encrypts it in one call.
   *
   * @param context holds the library's context
   * @param signParam read by the library; null passes an empty record
   * @param encryptParam read by the library: options and the receivers' certificates; null passes
   *     an empty record
   * @param content read by the library: the content to sign and encrypt
   * @param output filled whatever the status: the signed and encrypted message
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code encryptParam} holds a character that the
   *     narrow codeset writes with more than one byte ("jstring2string_t"); the library is not
   *     called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code content} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code encryptParam} exceeds the
   *     length of its array (the virtual machine's own exception); an extension in
   *     {@code encryptParam} has a {@code len} beyond its {@code data} ("jobject2extension_t:len");
   *     or a block in {@code encryptParam} has a {@code len} beyond its {@code buf}
   *     ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2encrypt_param_t"
   */
  public static native int QUMENJNI_SignAndEncryptMem(
    LocalIface context,
    sign_param_t signParam,
    encrypt_param_t encryptParam,
    mem_blk_t content,
    mem_blk_t output
  ) throws CharConversionException;

  /**
   * Signs a file and encrypts it in one call. The library writes the output file.
   *
   * @param context holds the library's context
   * @param signParam read by the library; null passes an empty record
   * @param encryptParam read by the library: options and the receivers' certificates; null passes
   *     an empty record
   * @param contentFile read by the library: the file to sign and encrypt
   * @param outputFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code contentFile} or {@code outputFile} or a text in
   *     {@code encryptParam} holds a character that the narrow codeset writes with more than one
   *     byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code encryptParam} exceeds the length of
   *     its array (the virtual machine's own exception); an extension in {@code encryptParam} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"); or a block in
   *     {@code encryptParam} has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"),
   *     before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2encrypt_param_t"
   */
  public static native int QUMENJNI_SignAndEncryptFile(
    LocalIface context,
    sign_param_t signParam,
    encrypt_param_t encryptParam,
    String contentFile,
    String outputFile
  ) throws CharConversionException;

  /**
   * Decrypts a message and verifies its signatures in one call.
   *
   * @param context holds the library's context
   * @param decryptParam read by the library; null passes an empty record
   * @param verifyParam read by the library; null passes an empty record
   * @param input read by the library: the signed and encrypted message
   * @param content filled whatever the status: the decrypted content
   * @param result filled whatever the status, after {@code content}: the sender's certificate
   * @param verifyResult filled whatever the status, after {@code result}: one status per
   *     signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code verifyParam} holds a character that the
   *     narrow codeset writes with more than one byte ("jstring2string_t"; the library is not
   *     called), or if a text the library gives in {@code result} or {@code verifyResult} does not
   *     decode to one character per byte ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code verifyParam} exceeds the
   *     length of its array (the virtual machine's own exception); or an extension in
   *     {@code verifyParam} has a {@code len} beyond its {@code data} ("jobject2extension_t:len"),
   *     before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_DecryptAndVerifyMem(
    LocalIface context,
    decrypt_param_t decryptParam,
    verify_param_t verifyParam,
    mem_blk_t input,
    mem_blk_t content,
    decrypt_result_t result,
    verify_result_t verifyResult
  ) throws CharConversionException;

  /**
   * Decrypts a file and verifies its signatures in one call. The library writes the output file.
   *
   * @param context holds the library's context
   * @param decryptParam read by the library; null passes an empty record
   * @param verifyParam read by the library; null passes an empty record
   * @param inputFile read by the library: the signed and encrypted file
   * @param contentFile read by the library: the file to write
   * @param result filled whatever the status: the sender's certificate
   * @param verifyResult filled whatever the status, after {@code result}: one status per
   *     signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code inputFile} or {@code contentFile} or a text in
   *     {@code verifyParam} holds a character that the narrow codeset writes with more than one
   *     byte ("jstring2string_t"; the library is not called), or if a text the library gives in
   *     {@code result} or {@code verifyResult} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code verifyParam} exceeds the length of
   *     its array (the virtual machine's own exception); or an extension in {@code verifyParam} has
   *     a {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_DecryptAndVerifyFile(
    LocalIface context,
    decrypt_param_t decryptParam,
    verify_param_t verifyParam,
    String inputFile,
    String contentFile,
    decrypt_result_t result,
    verify_result_t verifyResult
  ) throws CharConversionException;

  /**
   * Reads the structure of a PKCS#7 message.
   *
   * @param context holds the library's context
   * @param message read by the library
   * @param info filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code info} does not decode to
   *     one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code message} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_GetPkcs7InfoMem(
    LocalIface context,
    mem_blk_t message,
    pkcs7_info_t info
  ) throws CharConversionException;

  /**
   * Reads the structure of a PKCS#7 file.
   *
   * @param context holds the library's context
   * @param messageFile read by the library: the file to read
   * @param info filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code messageFile} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code info} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_GetPkcs7InfoFile(
    LocalIface context,
    String messageFile,
    pkcs7_info_t info
  ) throws CharConversionException;

  // ---- Streaming (stream: any object with a long field "handle") -----------------------------

  /**
   * Opens a hash stream.
   *
   * @param context holds the library's context
   * @param text read by the library: a text whose meaning is the library's; null or empty passes
   *     null
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on
   *     failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code text} holds a character that the narrow codeset
   *     writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_StrHashInitMem(LocalIface context, String text, Object stream)
    throws CharConversionException, NoSuchFieldException;

  /**
   * Feeds a hash stream one block.
   *
   * @param context holds the library's context
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param data read by the library: the next piece of data
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code data} exceeds the length of
   *     its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_StrHashUpdateMem(
    LocalIface context,
    Object stream,
    mem_blk_t data
  ) throws NoSuchFieldException;

  /**
   * Finishes a hash stream.
   *
   * @param context holds the library's context
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param hash filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "mem_blk_t2jobject"
   */
  public static native int QUMENJNI_StrHashFinalMem(
    LocalIface context,
    Object stream,
    mem_blk_t hash
  ) throws NoSuchFieldException;

  /**
   * Hashes a file by streaming, in one call; no handle.
   *
   * @param context holds the library's context
   * @param text read by the library: a text whose meaning is the library's; null or empty passes
   *     null
   * @param dataFile read by the library: the file to hash
   * @param hash filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code text} or {@code dataFile} holds a character that the
   *     narrow codeset writes with more than one byte ("jstring2string_t"); the library is not
   *     called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_StrHashFile(
    LocalIface context,
    String text,
    String dataFile,
    mem_blk_t hash
  ) throws CharConversionException;

  /**
   * Opens a signing stream.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param input read by the library
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on
   *     failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_StrSignInitMem(
    LocalIface context,
    sign_param_t param,
    mem_blk_t input,
    Object stream
  ) throws NoSuchFieldException;

  /**
   * Feeds a signing stream one block.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param content read by the library: the next piece of content
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code content} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_StrSignUpdateMem(
    LocalIface context,
    sign_param_t param,
    Object stream,
    mem_blk_t content
  ) throws NoSuchFieldException;

  /**
   * Finishes a signing stream.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param signed filled whatever the status: the last output
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "mem_blk_t2jobject"
   */
  public static native int QUMENJNI_StrSignFinalMem(
    LocalIface context,
    sign_param_t param,
    Object stream,
    mem_blk_t signed
  ) throws NoSuchFieldException;

  /**
   * Signs a file by streaming, in one call; no handle. As {@link #QUMENJNI_SignFile}.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param inputFile read by the library: the file to sign
   * @param secondInputFile read by the library; null or empty passes null
   * @param outputFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code inputFile}, {@code secondInputFile} or
   *     {@code outputFile} holds a character that the narrow codeset writes with more than one byte
   *     ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_StrSignFile(
    LocalIface context,
    sign_param_t param,
    String inputFile,
    String secondInputFile,
    String outputFile
  ) throws CharConversionException;

  /**
   * Opens a verification stream.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param input read by the library
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on
   *     failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code param} exceeds the length
   *     of its array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_StrVerifyInitMem(
    LocalIface context,
    verify_param_t param,
    mem_blk_t input,
    Object stream
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Feeds a verification stream one block.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param input read by the library: the next piece
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code param} exceeds the length
   *     of its array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_StrVerifyUpdateMem(
    LocalIface context,
    verify_param_t param,
    Object stream,
    mem_blk_t input
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Finishes a verification stream.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param content filled whatever the status: the last output
   * @param result filled whatever the status, after {@code content}: one status per signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_StrVerifyFinalMem(
    LocalIface context,
    verify_param_t param,
    Object stream,
    mem_blk_t content,
    verify_result_t result
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Verifies a signed file by streaming, in one call; no handle. As {@link #QUMENJNI_VerifyFile}.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param signedFile read by the library: the signed file
   * @param secondInputFile read by the library; null or empty passes null
   * @param contentFile read by the library: the file to write the content into
   * @param result filled whatever the status: one status per signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code signedFile}, {@code secondInputFile} or
   *     {@code contentFile} or a text in {@code param} holds a character that the narrow codeset
   *     writes with more than one byte ("jstring2string_t"; the library is not called), or if a
   *     text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_StrVerifyFile(
    LocalIface context,
    verify_param_t param,
    String signedFile,
    String secondInputFile,
    String contentFile,
    verify_result_t result
  ) throws CharConversionException;

  /**
   * Opens an encryption stream.
   *
   * @param context holds the library's context
   * @param param read by the library: options and the receivers' certificates; null passes an
   *     empty record
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on
   *     failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"); or a block in
   *     {@code param} has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2encrypt_param_t"
   */
  public static native int QUMENJNI_StrEncryptInitMem(
    LocalIface context,
    encrypt_param_t param,
    Object stream
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Feeds an encryption stream one block and returns the output so far.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param content read by the library: the next piece of content
   * @param encrypted filled whatever the status: the encrypted output so far
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code content} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code param} exceeds the length
   *     of its array (the virtual machine's own exception); an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"); or a block in
   *     {@code param} has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2encrypt_param_t"
   */
  public static native int QUMENJNI_StrEncryptUpdateMem(
    LocalIface context,
    encrypt_param_t param,
    Object stream,
    mem_blk_t content,
    mem_blk_t encrypted
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Finishes an encryption stream.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param encrypted filled whatever the status: the last output
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"); or a block in
   *     {@code param} has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2encrypt_param_t"
   */
  public static native int QUMENJNI_StrEncryptFinalMem(
    LocalIface context,
    encrypt_param_t param,
    Object stream,
    mem_blk_t encrypted
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Encrypts a file by streaming, in one call; no handle. As {@link #QUMENJNI_EncryptFile}.
   *
   * @param context holds the library's context
   * @param param read by the library: options and the receivers' certificates; null passes an
   *     empty record
   * @param contentFile read by the library: the file to encrypt
   * @param encryptedFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code contentFile} or {@code encryptedFile} or a text in
   *     {@code param} holds a character that the narrow codeset writes with more than one byte
   *     ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"); or a block in
   *     {@code param} has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2encrypt_param_t"
   */
  public static native int QUMENJNI_StrEncryptFile(
    LocalIface context,
    encrypt_param_t param,
    String contentFile,
    String encryptedFile
  ) throws CharConversionException;

  /**
   * Opens a decryption stream.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param encrypted read by the library: the start of the encrypted message
   * @param state filled whatever the status: element 0 receives the library's state word;
   *     exactly one element, null to drop it
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on
   *     failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encrypted} exceeds the
   *     length of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called; or, if
   *     {@code state} is not null and has not exactly one element ("intArray2jintArray:array"),
   *     after the library's call
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_StrDecryptInitMem(
    LocalIface context,
    decrypt_param_t param,
    mem_blk_t encrypted,
    int[] state,
    Object stream
  ) throws NoSuchFieldException;

  /**
   * Feeds a decryption stream one block and returns the output so far.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param encrypted read by the library: the next piece of the encrypted message
   * @param state read by the library and filled whatever the status: element 0 carries the
   *     library's state word both ways; exactly one element, null to pass 0
   * @param content filled whatever the status: the decrypted output so far
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encrypted} exceeds the
   *     length of its {@code buf} ("jobject2mem_blk_t:len"); or {@code state} is not null and has
   *     not exactly one element ("jintArray2intArray:array"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_StrDecryptUpdateMem(
    LocalIface context,
    decrypt_param_t param,
    Object stream,
    mem_blk_t encrypted,
    int[] state,
    mem_blk_t content
  ) throws NoSuchFieldException;

  /**
   * Finishes a decryption stream. It returns no output block.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param result filled whatever the status: the sender's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code result} does not decode
   *     to one character per byte ("string_t2jstring"), after the library's call
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "decrypt_result_t2jobject"
   */
  public static native int QUMENJNI_StrDecryptFinalMem(
    LocalIface context,
    decrypt_param_t param,
    Object stream,
    decrypt_result_t result
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Decrypts a file by streaming, in one call; no handle. As {@link #QUMENJNI_DecryptFile}.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param encryptedFile read by the library: the file to decrypt
   * @param contentFile read by the library: the file to write
   * @param result filled whatever the status: the sender's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code encryptedFile} or {@code contentFile} holds a
   *     character that the narrow codeset writes with more than one byte ("jstring2string_t"; the
   *     library is not called), or if a text the library gives in {@code result} does not decode to
   *     one character per byte ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_StrDecryptFile(
    LocalIface context,
    decrypt_param_t param,
    String encryptedFile,
    String contentFile,
    decrypt_result_t result
  ) throws CharConversionException;

  /**
   * Lists the recipients and the sender of an encrypted message, in one call; no handle.
   *
   * @param context holds the library's context
   * @param encrypted read by the library: the encrypted message
   * @param result filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code result} does not decode
   *     to one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encrypted} exceeds the
   *     length of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_StrEncryptedInfoMem(
    LocalIface context,
    mem_blk_t encrypted,
    encrypted_info_result_t result
  ) throws CharConversionException;

  /**
   * Lists the recipients and the sender of an encrypted file, in one call; no handle.
   *
   * @param context holds the library's context
   * @param encryptedFile read by the library: the encrypted file
   * @param result filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code encryptedFile} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_StrEncryptedInfoFile(
    LocalIface context,
    String encryptedFile,
    encrypted_info_result_t result
  ) throws CharConversionException;

  // ---- CMS -----------------------------------------------------------------------------------

  /**
   * Signs content into a CMS message that carries it, in one call.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param content read by the library: the content to sign
   * @param signed filled whatever the status: the signed message
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code content} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsBlkAttSignMem(
    LocalIface context,
    sign_param_t param,
    mem_blk_t content,
    mem_blk_t signed
  );

  /**
   * Signs a file into a CMS message that carries it, in one call. The library writes the output
   * file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param contentFile read by the library: the file to sign
   * @param signedFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code contentFile} or {@code signedFile} holds a character
   *     that the narrow codeset writes with more than one byte ("jstring2string_t"); the library is
   *     not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_CmsBlkAttSignFile(
    LocalIface context,
    sign_param_t param,
    String contentFile,
    String signedFile
  ) throws CharConversionException;

  /**
   * Opens a stream that signs content into a CMS message that carries it.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param input read by the library
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsStrAttSignInitMem(
    LocalIface context,
    sign_param_t param,
    mem_blk_t input,
    Object stream
  ) throws NoSuchFieldException;

  /**
   * Feeds a CMS attached-signing stream one block and returns the output so far.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param content read by the library: the next piece of content
   * @param signed filled on success: the signed output so far; left as it was on failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code content} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsStrAttSignUpdateMem(
    LocalIface context,
    sign_param_t param,
    Object stream,
    mem_blk_t content,
    mem_blk_t signed
  ) throws NoSuchFieldException;

  /**
   * Finishes a CMS attached-signing stream.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param signed filled whatever the status: the last output
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "mem_blk_t2jobject"
   */
  public static native int QUMENJNI_CmsStrAttSignFinalMem(
    LocalIface context,
    sign_param_t param,
    Object stream,
    mem_blk_t signed
  ) throws NoSuchFieldException;

  /**
   * Signs a file into a CMS message that carries it, by streaming in one call; no handle. The
   * library writes the output file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param contentFile read by the library: the file to sign
   * @param signedFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code contentFile} or {@code signedFile} holds a character
   *     that the narrow codeset writes with more than one byte ("jstring2string_t"); the library is
   *     not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_CmsStrAttSignFile(
    LocalIface context,
    sign_param_t param,
    String contentFile,
    String signedFile
  ) throws CharConversionException;

  /**
   * Makes a detached CMS signature, in one call. The role of the second input is the library's.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param content read by the library: the content to sign
   * @param secondInput read by the library
   * @param signature filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code content} or
   *     {@code secondInput} exceeds the length of its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsBlkDetSignMem(
    LocalIface context,
    sign_param_t param,
    mem_blk_t content,
    mem_blk_t secondInput,
    mem_blk_t signature
  );

  /**
   * Makes a detached CMS signature of a file, in one call. The library writes the output file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param contentFile read by the library: the file to sign
   * @param secondInputFile read by the library; null or empty passes null
   * @param signatureFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code contentFile}, {@code secondInputFile} or
   *     {@code signatureFile} holds a character that the narrow codeset writes with more than one
   *     byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_CmsBlkDetSignFile(
    LocalIface context,
    sign_param_t param,
    String contentFile,
    String secondInputFile,
    String signatureFile
  ) throws CharConversionException;

  /**
   * Opens a stream that makes a detached CMS signature.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param input read by the library
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsStrDetSignInitMem(
    LocalIface context,
    sign_param_t param,
    mem_blk_t input,
    Object stream
  ) throws NoSuchFieldException;

  /**
   * Feeds a CMS detached-signing stream one block.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param content read by the library: the next piece of content
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code content} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsStrDetSignUpdateMem(
    LocalIface context,
    sign_param_t param,
    Object stream,
    mem_blk_t content
  ) throws NoSuchFieldException;

  /**
   * Finishes a CMS detached-signing stream.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param signature filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "mem_blk_t2jobject"
   */
  public static native int QUMENJNI_CmsStrDetSignFinalMem(
    LocalIface context,
    sign_param_t param,
    Object stream,
    mem_blk_t signature
  ) throws NoSuchFieldException;

  /**
   * Makes a detached CMS signature of a file, by streaming in one call; no handle. The library
   * writes the output file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param contentFile read by the library: the file to sign
   * @param secondInputFile read by the library; null or empty passes null
   * @param signatureFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code contentFile}, {@code secondInputFile} or
   *     {@code signatureFile} holds a character that the narrow codeset writes with more than one
   *     byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_CmsStrDetSignFile(
    LocalIface context,
    sign_param_t param,
    String contentFile,
    String secondInputFile,
    String signatureFile
  ) throws CharConversionException;

  /**
   * Verifies a CMS message that carries its content, in one call.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param signed read by the library: the signed message
   * @param content filled whatever the status: the content
   * @param result filled whatever the status, after {@code content}: one status per signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code signed} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code param} exceeds the length
   *     of its array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_CmsBlkAttVerifyMem(
    LocalIface context,
    verify_param_t param,
    mem_blk_t signed,
    mem_blk_t content,
    verify_result_t result
  ) throws CharConversionException;

  /**
   * Verifies a CMS file that carries its content, in one call. The library writes the output file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param signedFile read by the library: the signed file
   * @param contentFile read by the library: the file to write the content into
   * @param result filled whatever the status: one status per signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code signedFile} or {@code contentFile} or a text in
   *     {@code param} holds a character that the narrow codeset writes with more than one byte
   *     ("jstring2string_t"; the library is not called), or if a text the library gives in
   *     {@code result} does not decode to one character per byte ("string_t2jstring", after the
   *     library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_CmsBlkAttVerifyFile(
    LocalIface context,
    verify_param_t param,
    String signedFile,
    String contentFile,
    verify_result_t result
  ) throws CharConversionException;

  /**
   * Opens a stream that verifies a CMS message that carries its content.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param input read by the library
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code param} exceeds the length
   *     of its array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_CmsStrAttVerifyInitMem(
    LocalIface context,
    verify_param_t param,
    mem_blk_t input,
    Object stream
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Feeds a CMS attached-verification stream one block and returns the content so far.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param signed read by the library: the next piece of the signed message
   * @param content filled on success: the content so far; left as it was on failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code signed} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code param} exceeds the length
   *     of its array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_CmsStrAttVerifyUpdateMem(
    LocalIface context,
    verify_param_t param,
    Object stream,
    mem_blk_t signed,
    mem_blk_t content
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Finishes a CMS attached-verification stream.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param content filled whatever the status: the last output
   * @param result filled whatever the status, after {@code content}: one status per signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_CmsStrAttVerifyFinalMem(
    LocalIface context,
    verify_param_t param,
    Object stream,
    mem_blk_t content,
    verify_result_t result
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Verifies a CMS file that carries its content, by streaming in one call; no handle. The library
   * writes the output file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param signedFile read by the library: the signed file
   * @param contentFile read by the library: the file to write the content into
   * @param result filled whatever the status: one status per signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code signedFile} or {@code contentFile} or a text in
   *     {@code param} holds a character that the narrow codeset writes with more than one byte
   *     ("jstring2string_t"; the library is not called), or if a text the library gives in
   *     {@code result} does not decode to one character per byte ("string_t2jstring", after the
   *     library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_CmsStrAttVerifyFile(
    LocalIface context,
    verify_param_t param,
    String signedFile,
    String contentFile,
    verify_result_t result
  ) throws CharConversionException;

  /**
   * Verifies a detached CMS signature, in one call. The roles of the two inputs are the library's.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param input read by the library
   * @param secondInput read by the library
   * @param output filled whatever the status
   * @param result filled whatever the status, after {@code output}: one status per signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} or
   *     {@code secondInput} exceeds the length of its {@code buf} ("jobject2mem_blk_t:len"); a
   *     count in {@code param} exceeds the length of its array (the virtual machine's own
   *     exception); or an extension in {@code param} has a {@code len} beyond its {@code data}
   *     ("jobject2extension_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_CmsBlkDetVerifyMem(
    LocalIface context,
    verify_param_t param,
    mem_blk_t input,
    mem_blk_t secondInput,
    mem_blk_t output,
    verify_result_t result
  ) throws CharConversionException;

  /**
   * Verifies a detached CMS signature of a file, in one call.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param inputFile read by the library
   * @param secondInputFile read by the library
   * @param outputFile read by the library: the file to write
   * @param result filled whatever the status: one status per signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code inputFile}, {@code secondInputFile} or
   *     {@code outputFile} or a text in {@code param} holds a character that the narrow codeset
   *     writes with more than one byte ("jstring2string_t"; the library is not called), or if a
   *     text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_CmsBlkDetVerifyFile(
    LocalIface context,
    verify_param_t param,
    String inputFile,
    String secondInputFile,
    String outputFile,
    verify_result_t result
  ) throws CharConversionException;

  /**
   * Opens a stream that verifies a detached CMS signature.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param input read by the library
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code param} exceeds the length
   *     of its array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_CmsStrDetVerifyInitMem(
    LocalIface context,
    verify_param_t param,
    mem_blk_t input,
    Object stream
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Feeds a CMS detached-verification stream one block.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param content read by the library: the next piece of content
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code content} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code param} exceeds the length
   *     of its array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_CmsStrDetVerifyUpdateMem(
    LocalIface context,
    verify_param_t param,
    Object stream,
    mem_blk_t content
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Finishes a CMS detached-verification stream.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param output filled whatever the status
   * @param result filled whatever the status, after {@code output}: one status per signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_CmsStrDetVerifyFinalMem(
    LocalIface context,
    verify_param_t param,
    Object stream,
    mem_blk_t output,
    verify_result_t result
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Verifies a detached CMS signature of a file, by streaming in one call; no handle.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param inputFile read by the library
   * @param secondInputFile read by the library
   * @param outputFile read by the library: the file to write
   * @param result filled whatever the status: one status per signature
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code inputFile}, {@code secondInputFile} or
   *     {@code outputFile} or a text in {@code param} holds a character that the narrow codeset
   *     writes with more than one byte ("jstring2string_t"; the library is not called), or if a
   *     text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); or an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"), before the library is
   *     called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2verify_param_t"
   */
  public static native int QUMENJNI_CmsStrDetVerifyFile(
    LocalIface context,
    verify_param_t param,
    String inputFile,
    String secondInputFile,
    String outputFile,
    verify_result_t result
  ) throws CharConversionException;

  /**
   * Encrypts content into a CMS enveloped message, in one call.
   *
   * @param context holds the library's context
   * @param param read by the library: options and the receivers' certificates; null passes an empty
   *     record
   * @param content read by the library: the content to encrypt
   * @param encrypted filled whatever the status: the enveloped message
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code content} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code param} exceeds the length
   *     of its array (the virtual machine's own exception); an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"); or a block in
   *     {@code param} has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2encrypt_param_t"
   */
  public static native int QUMENJNI_CmsBlkEncryptMem(
    LocalIface context,
    encrypt_param_t param,
    mem_blk_t content,
    mem_blk_t encrypted
  ) throws CharConversionException;

  /**
   * Encrypts a file into a CMS enveloped message, in one call. The library writes the output file.
   *
   * @param context holds the library's context
   * @param param read by the library: options and the receivers' certificates; null passes an empty
   *     record
   * @param contentFile read by the library: the file to encrypt
   * @param encryptedFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code contentFile} or {@code encryptedFile} or a text in
   *     {@code param} holds a character that the narrow codeset writes with more than one byte
   *     ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"); or a block in
   *     {@code param} has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2encrypt_param_t"
   */
  public static native int QUMENJNI_CmsBlkEncryptFile(
    LocalIface context,
    encrypt_param_t param,
    String contentFile,
    String encryptedFile
  ) throws CharConversionException;

  /**
   * Opens a stream that encrypts into a CMS enveloped message.
   *
   * @param context holds the library's context
   * @param param read by the library: options and the receivers' certificates; null passes an empty
   *     record
   * @param input read by the library
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code param} exceeds the length
   *     of its array (the virtual machine's own exception); an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"); or a block in
   *     {@code param} has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2encrypt_param_t"
   */
  public static native int QUMENJNI_CmsStrEncryptInitMem(
    LocalIface context,
    encrypt_param_t param,
    mem_blk_t input,
    Object stream
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Feeds a CMS encryption stream one block and returns the output so far.
   *
   * @param context holds the library's context
   * @param param read by the library: options and the receivers' certificates; null passes an empty
   *     record
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param content read by the library: the next piece of content
   * @param encrypted filled whatever the status: the encrypted output so far
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code content} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"); a count in {@code param} exceeds the length
   *     of its array (the virtual machine's own exception); an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"); or a block in
   *     {@code param} has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2encrypt_param_t"
   */
  public static native int QUMENJNI_CmsStrEncryptUpdateMem(
    LocalIface context,
    encrypt_param_t param,
    Object stream,
    mem_blk_t content,
    mem_blk_t encrypted
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Finishes a CMS encryption stream.
   *
   * @param context holds the library's context
   * @param param read by the library: options and the receivers' certificates; null passes an empty
   *     record
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param encrypted filled whatever the status: the last output
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"); or a block in
   *     {@code param} has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2encrypt_param_t"
   */
  public static native int QUMENJNI_CmsStrEncryptFinalMem(
    LocalIface context,
    encrypt_param_t param,
    Object stream,
    mem_blk_t encrypted
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Encrypts a file into a CMS enveloped message, by streaming in one call; no handle. The library
   * writes the output file.
   *
   * @param context holds the library's context
   * @param param read by the library: options and the receivers' certificates; null passes an empty
   *     record
   * @param contentFile read by the library: the file to encrypt
   * @param encryptedFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code contentFile} or {@code encryptedFile} or a text in
   *     {@code param} holds a character that the narrow codeset writes with more than one byte
   *     ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"); or a block in
   *     {@code param} has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2encrypt_param_t"
   */
  public static native int QUMENJNI_CmsStrEncryptFile(
    LocalIface context,
    encrypt_param_t param,
    String contentFile,
    String encryptedFile
  ) throws CharConversionException;

  /**
   * Decrypts a CMS enveloped message, in one call.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param encrypted read by the library: the enveloped message
   * @param content filled whatever the status: the decrypted content
   * @param result filled whatever the status, after {@code content}: the sender's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code result} does not decode
   *     to one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encrypted} exceeds the
   *     length of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsBlkDecryptMem(
    LocalIface context,
    decrypt_param_t param,
    mem_blk_t encrypted,
    mem_blk_t content,
    decrypt_result_t result
  ) throws CharConversionException;

  /**
   * Decrypts a CMS enveloped file, in one call. The library writes the output file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param encryptedFile read by the library: the file to decrypt
   * @param contentFile read by the library: the file to write
   * @param result filled whatever the status: the sender's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code encryptedFile} or {@code contentFile} holds a
   *     character that the narrow codeset writes with more than one byte ("jstring2string_t"; the
   *     library is not called), or if a text the library gives in {@code result} does not decode to
   *     one character per byte ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_CmsBlkDecryptFile(
    LocalIface context,
    decrypt_param_t param,
    String encryptedFile,
    String contentFile,
    decrypt_result_t result
  ) throws CharConversionException;

  /**
   * Opens a stream that decrypts a CMS enveloped message.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param encrypted read by the library: the start of the enveloped message
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encrypted} exceeds the
   *     length of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsStrDecryptInitMem(
    LocalIface context,
    decrypt_param_t param,
    mem_blk_t encrypted,
    Object stream
  ) throws NoSuchFieldException;

  /**
   * Feeds a CMS decryption stream one block and returns the output so far.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param encrypted read by the library: the next piece of the enveloped message
   * @param content filled whatever the status: the decrypted output so far
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code encrypted} exceeds the
   *     length of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsStrDecryptUpdateMem(
    LocalIface context,
    decrypt_param_t param,
    Object stream,
    mem_blk_t encrypted,
    mem_blk_t content
  ) throws NoSuchFieldException;

  /**
   * Finishes a CMS decryption stream.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param content filled whatever the status: the last output
   * @param result filled whatever the status, after {@code content}: the sender's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code result} does not decode
   *     to one character per byte ("string_t2jstring"), after the library's call
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "mem_blk_t2jobject"
   */
  public static native int QUMENJNI_CmsStrDecryptFinalMem(
    LocalIface context,
    decrypt_param_t param,
    Object stream,
    mem_blk_t content,
    decrypt_result_t result
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Decrypts a CMS enveloped file, by streaming in one call; no handle. The library writes the
   * output file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param encryptedFile read by the library: the file to decrypt
   * @param contentFile read by the library: the file to write
   * @param result filled whatever the status: the sender's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code encryptedFile} or {@code contentFile} holds a
   *     character that the narrow codeset writes with more than one byte ("jstring2string_t"; the
   *     library is not called), or if a text the library gives in {@code result} does not decode to
   *     one character per byte ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_CmsStrDecryptFile(
    LocalIface context,
    decrypt_param_t param,
    String encryptedFile,
    String contentFile,
    decrypt_result_t result
  ) throws CharConversionException;

  /**
   * Joins a detached CMS signature and its content into one signed message, in one call. The order
   * of the two inputs is the library's.
   *
   * @param context holds the library's context
   * @param input read by the library
   * @param secondInput read by the library
   * @param signed filled whatever the status: the signed message
   * @param option read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} or
   *     {@code secondInput} exceeds the length of its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsBlkSignAttachMem(
    LocalIface context,
    mem_blk_t input,
    mem_blk_t secondInput,
    mem_blk_t signed,
    int option
  );

  /**
   * Joins a detached CMS signature file and its content file into one signed file, in one call. The
   * library writes the output file.
   *
   * @param context holds the library's context
   * @param inputFile read by the library
   * @param secondInputFile read by the library
   * @param signedFile read by the library: the file to write
   * @param option read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code inputFile}, {@code secondInputFile} or
   *     {@code signedFile} holds a character that the narrow codeset writes with more than one byte
   *     ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_CmsBlkSignAttachFile(
    LocalIface context,
    String inputFile,
    String secondInputFile,
    String signedFile,
    int option
  ) throws CharConversionException;

  /**
   * Splits a CMS signed message into two outputs, signature and content, in the library's order, in
   * one call.
   *
   * @param context holds the library's context
   * @param signed read by the library: the signed message
   * @param output filled whatever the status
   * @param secondOutput filled whatever the status, after {@code output}
   * @param option read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code signed} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsBlkSignDetachMem(
    LocalIface context,
    mem_blk_t signed,
    mem_blk_t output,
    mem_blk_t secondOutput,
    int option
  );

  /**
   * Splits a CMS signed file into two files, in the library's order, in one call. The library
   * writes them.
   *
   * @param context holds the library's context
   * @param signedFile read by the library: the signed file
   * @param outputFile read by the library: the first file to write
   * @param secondOutputFile read by the library: the second file to write
   * @param option read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code signedFile}, {@code outputFile} or
   *     {@code secondOutputFile} holds a character that the narrow codeset writes with more than
   *     one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_CmsBlkSignDetachFile(
    LocalIface context,
    String signedFile,
    String outputFile,
    String secondOutputFile,
    int option
  ) throws CharConversionException;

  /**
   * Opens a stream that splits a CMS signed message.
   *
   * @param context holds the library's context
   * @param signed read by the library: the start of the signed message
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on failure
   * @param option read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code signed} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsStrSignDetachInitMem(
    LocalIface context,
    mem_blk_t signed,
    Object stream,
    int option
  ) throws NoSuchFieldException;

  /**
   * Feeds a CMS signature-splitting stream one block and returns the output so far.
   *
   * @param context holds the library's context
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param signed read by the library: the next piece of the signed message
   * @param output filled whatever the status: the output so far
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code signed} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsStrSignDetachUpdateMem(
    LocalIface context,
    Object stream,
    mem_blk_t signed,
    mem_blk_t output
  ) throws NoSuchFieldException;

  /**
   * Finishes a CMS signature-splitting stream.
   *
   * @param context holds the library's context
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param output filled whatever the status
   * @param secondOutput filled whatever the status, after {@code output}
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "mem_blk_t2jobject"
   */
  public static native int QUMENJNI_CmsStrSignDetachFinalMem(
    LocalIface context,
    Object stream,
    mem_blk_t output,
    mem_blk_t secondOutput
  ) throws NoSuchFieldException;

  /**
   * Splits a CMS signed file into two files, by streaming in one call; no handle. The library
   * writes them.
   *
   * @param context holds the library's context
   * @param signedFile read by the library: the signed file
   * @param outputFile read by the library: the first file to write
   * @param secondOutputFile read by the library: the second file to write
   * @param option read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code signedFile}, {@code outputFile} or
   *     {@code secondOutputFile} holds a character that the narrow codeset writes with more than
   *     one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_CmsStrSignDetachFile(
    LocalIface context,
    String signedFile,
    String outputFile,
    String secondOutputFile,
    int option
  ) throws CharConversionException;

  /**
   * Describes a CMS message without opening it, in one call.
   *
   * @param context holds the library's context
   * @param message read by the library
   * @param info filled whatever the status
   * @param option read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code info} does not decode to
   *     one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code message} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsBlkMsgInfMem(
    LocalIface context,
    mem_blk_t message,
    cms_msginf_t info,
    int option
  ) throws CharConversionException;

  /**
   * Describes a CMS file without opening it, in one call.
   *
   * @param context holds the library's context
   * @param messageFile read by the library: the file to read
   * @param info filled whatever the status
   * @param option read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code messageFile} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code info} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_CmsBlkMsgInfFile(
    LocalIface context,
    String messageFile,
    cms_msginf_t info,
    int option
  ) throws CharConversionException;

  /**
   * Opens a stream that describes a CMS message.
   *
   * @param context holds the library's context
   * @param message read by the library: the start of the message
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on failure
   * @param option read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code message} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsStrMsgInfInitMem(
    LocalIface context,
    mem_blk_t message,
    Object stream,
    int option
  ) throws NoSuchFieldException;

  /**
   * Feeds a CMS message-description stream one block.
   *
   * @param context holds the library's context
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param message read by the library: the next piece of the message
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code message} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CmsStrMsgInfUpdateMem(
    LocalIface context,
    Object stream,
    mem_blk_t message
  ) throws NoSuchFieldException;

  /**
   * Finishes a CMS message-description stream and describes the message.
   *
   * @param context holds the library's context
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param info filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code info} does not decode to
   *     one character per byte ("string_t2jstring"), after the library's call
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "cms_msginf_t2jobject"
   */
  public static native int QUMENJNI_CmsStrMsgInfFinalMem(
    LocalIface context,
    Object stream,
    cms_msginf_t info
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Describes a CMS file without opening it, by streaming in one call; no handle.
   *
   * @param context holds the library's context
   * @param messageFile read by the library: the file to read
   * @param info filled whatever the status
   * @param option read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code messageFile} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code info} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_CmsStrMsgInfFile(
    LocalIface context,
    String messageFile,
    cms_msginf_t info,
    int option
  ) throws CharConversionException;

  // ---- Stores and profiles ------------------------------------------------------------------

  /**
   * Imports objects into the store from a block.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param data read by the library: the objects to import
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code data} exceeds the length of
   *     its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_ImportMem(
    LocalIface context,
    import_param_t param,
    mem_blk_t data
  );

  /**
   * Imports objects into the store from a file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param dataFile read by the library: the file to import
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code dataFile} holds a character that the narrow codeset
   *     writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_ImportFile(
    LocalIface context,
    import_param_t param,
    String dataFile
  ) throws CharConversionException;

  /**
   * Exports objects from the store into a block.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param data filled whatever the status: the exported objects
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "mem_blk_t2jobject"
   */
  public static native int QUMENJNI_ExportMem(
    LocalIface context,
    export_param_t param,
    mem_blk_t data
  );

  /**
   * Exports objects from the store into a file. The library writes the file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param dataFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code dataFile} holds a character that the narrow codeset
   *     writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_ExportFile(
    LocalIface context,
    export_param_t param,
    String dataFile
  ) throws CharConversionException;

  /**
   * Searches the store for certificates.
   *
   * @param context holds the library's context
   * @param param read by the library: options and a template; null passes an empty record
   * @param result filled whatever the status: the certificates found
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text in {@code param} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a count in {@code param} exceeds the length of its
   *     array (the virtual machine's own exception); an extension in {@code param} has a
   *     {@code len} beyond its {@code data} ("jobject2extension_t:len"); or a block in
   *     {@code param} has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2find_param_t"
   */
  public static native int QUMENJNI_FindCert(
    LocalIface context,
    find_param_t param,
    find_result_t result
  ) throws CharConversionException;

  /**
   * Adds a certificate to the store.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param cert read by the library: the encoded certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code cert} exceeds the length of
   *     its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_AddCertificate(
    LocalIface context,
    add_param_t param,
    mem_blk_t cert
  );

  /**
   * Adds a certificate revocation list to the store.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param crl read by the library: the encoded CRL
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code crl} exceeds the length of
   *     its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_AddCRL(LocalIface context, add_param_t param, mem_blk_t crl);

  /**
   * One step of an enumeration of the store's objects: call it until it fails.
   *
   * @param context holds the library's context
   * @param ignored not read; the library receives 0 in its place
   * @param position handle, <a href="#enum-rule">enumeration rule</a>: read as the current position
   *     (0 to start); the next position stored on success, 0 on failure
   * @param object filled on success: the next object; left as it was on failure
   * @param options read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code position} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "mem_blk_t2jobject"
   */
  public static native int QUMENJNI_EnumStoreObjects(
    LocalIface context,
    Object ignored,
    Object position,
    mem_blk_t object,
    int options
  ) throws NoSuchFieldException;

  /**
   * One step of an enumeration of the objects of a named store: call it until it fails.
   *
   * @param context holds the library's context
   * @param ignored not read; the library receives 0 in its place
   * @param firstText read by the library: a text whose meaning is the library's; null or empty
   *     passes null
   * @param secondText read by the library: a text whose meaning is the library's; null or empty
   *     passes null
   * @param position handle, <a href="#enum-rule">enumeration rule</a>: read as the current position
   *     (0 to start); the next position stored on success, 0 on failure
   * @param object filled on success: the next object; left as it was on failure
   * @param options read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code firstText} or {@code secondText} holds a character
   *     that the narrow codeset writes with more than one byte ("jstring2string_t"); the library is
   *     not called
   * @throws NoSuchFieldException if the class of {@code position} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_EnumStoreObjectsEx(
    LocalIface context,
    Object ignored,
    String firstText,
    String secondText,
    Object position,
    mem_blk_t object,
    int options
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Issues a certificate store.
   *
   * @param context holds the library's context
   * @param data read by the library
   * @param firstText read by the library: a text whose meaning is the library's; null or empty
   *     passes null
   * @param secondText read by the library: a text whose meaning is the library's; null or empty
   *     passes null
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code firstText} or {@code secondText} holds a character
   *     that the narrow codeset writes with more than one byte ("jstring2string_t"); the library is
   *     not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code data} exceeds the length of
   *     its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_IssueCertificateStore(
    LocalIface context,
    mem_blk_t data,
    String firstText,
    String secondText
  ) throws CharConversionException;

  /**
   * Creates a certificate store from two lists of blocks. Each count goes to the library as
   * given and says how many blocks of its array are read (not the array's length): a null array
   * or a count below 1 passes no blocks.
   *
   * @param context holds the library's context
   * @param firstBlocks read by the library: {@code firstCount} blocks; a null element passes an
   *     empty block
   * @param firstCount read by the library: how many of {@code firstBlocks}
   * @param secondBlocks read by the library: {@code secondCount} blocks; a null element passes an
   *     empty block
   * @param secondCount read by the library: how many of {@code secondBlocks}
   * @param firstText read by the library: a text whose meaning is the library's; null or empty
   *     passes null
   * @param secondText read by the library: a text whose meaning is the library's; null or empty
   *     passes null
   * @param options read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #NO_BUFFER}, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code firstText} or {@code secondText} holds a character
   *     that the narrow codeset writes with more than one byte ("jstring2string_t"); the library is
   *     not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if a block of {@code firstBlocks} has a {@code len}
   *     beyond its {@code buf} ("jobject2mem_blk_t:len"); {@code firstCount} exceeds the length of
   *     {@code firstBlocks} (the virtual machine's own exception); a block of {@code secondBlocks}
   *     has a {@code len} beyond its {@code buf} ("jobject2mem_blk_t:len"); or {@code secondCount}
   *     exceeds the length of {@code secondBlocks} (the virtual machine's own exception), before
   *     the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_CreateCertificateStore(
    LocalIface context,
    mem_blk_t[] firstBlocks,
    int firstCount,
    mem_blk_t[] secondBlocks,
    int secondCount,
    String firstText,
    String secondText,
    int options
  ) throws CharConversionException;

  /**
   * Creates a registry profile.
   *
   * @param context holds the library's context
   * @param firstText read by the library: a text whose meaning is the library's; null or empty
   *     passes null
   * @param secondText read by the library: a text whose meaning is the library's; null or empty
   *     passes null
   * @param value read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code firstText} or {@code secondText} holds a character
   *     that the narrow codeset writes with more than one byte ("jstring2string_t"); the library is
   *     not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_CreateRegistryProfile(
    LocalIface context,
    String firstText,
    String secondText,
    int value
  ) throws CharConversionException;

  /**
   * Creates a registry profile, with four texts.
   *
   * @param context holds the library's context
   * @param firstText read by the library: a text whose meaning is the library's; null or empty
   *     passes null
   * @param secondText read by the library: a text whose meaning is the library's; null or empty
   *     passes null
   * @param thirdText read by the library: a text whose meaning is the library's; null or empty
   *     passes null
   * @param fourthText read by the library: a text whose meaning is the library's; null or empty
   *     passes null
   * @param value read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code firstText}, {@code secondText}, {@code thirdText} or
   *     {@code fourthText} holds a character that the narrow codeset writes with more than one byte
   *     ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_CreateRegistryProfileEx(
    LocalIface context,
    String firstText,
    String secondText,
    String thirdText,
    String fourthText,
    int value
  ) throws CharConversionException;

  /**
   * Queries a registry profile for a text.
   *
   * @param context holds the library's context
   * @param text filled whatever the status: element 0 receives the text, null for an empty one;
   *     null to drop it
   * @param size read by the library: the capacity in bytes of the buffer offered for the text
   * @param selector read by the library: what to query
   * @return 0, the library's failure code, {@link #NO_BUFFER}, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code text} does not decode to
   *     one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if {@code text} is not null and empty (the virtual
   *     machine's own exception), after the library's call
   * @throws OutOfMemoryError if memory runs out while the results are made; the message names the
   *     converter, such as "string_t2jstring"
   */
  public static native int QUMENJNI_QueryRegistryProfile(
    LocalIface context,
    String[] text,
    int size,
    int selector
  ) throws CharConversionException;

  /**
   * Queries a registry profile for four outputs.
   *
   * @param context holds the library's context
   * @param firstOutput filled whatever the status
   * @param secondOutput filled whatever the status, after {@code firstOutput}
   * @param thirdOutput filled whatever the status, after {@code secondOutput}
   * @param fourthOutput filled whatever the status, after {@code thirdOutput}
   * @param selector read by the library: what to query
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "mem_blk_t2jobject"
   */
  public static native int QUMENJNI_QueryRegistryProfileEx(
    LocalIface context,
    mem_blk_t firstOutput,
    mem_blk_t secondOutput,
    mem_blk_t thirdOutput,
    mem_blk_t fourthOutput,
    int selector
  );

  // ---- Time stamps --------------------------------------------------------------------------

  /**
   * Builds a time-stamp request for the signatures of a CMS message.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param message read by the library
   * @param request filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code message} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_TspBlkRequestFromCmsMem(
    LocalIface context,
    tsp_request_param_t param,
    mem_blk_t message,
    mem_blk_t request
  );

  /**
   * Builds a time-stamp request for the signatures of a PKCS#7 message.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param message read by the library
   * @param request filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code message} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_TspRequestFromPkcs7(
    LocalIface context,
    tsp_request_param_t param,
    mem_blk_t message,
    mem_blk_t request
  );

  /**
   * Builds a time-stamp request for the signatures of a CMS file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param messageFile read by the library: the file to read
   * @param request filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code messageFile} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_TspBlkRequestFromCmsFile(
    LocalIface context,
    tsp_request_param_t param,
    String messageFile,
    mem_blk_t request
  ) throws CharConversionException;

  /**
   * Answers a time-stamp request as a time-stamp authority.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param request read by the library: the request
   * @param response filled whatever the status: the signed response
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code request} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_TspSignResponse(
    LocalIface context,
    tsp_response_param_t param,
    mem_blk_t request,
    mem_blk_t response
  );

  /**
   * Verifies a time-stamp response.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param response read by the library
   * @param result filled whatever the status: the time and the authority's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code result} does not decode
   *     to one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code response} exceeds the
   *     length of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_TspVerifyResponse(
    LocalIface context,
    tsp_verify_param_t param,
    mem_blk_t response,
    tsp_verify_result_t result
  ) throws CharConversionException;

  /**
   * Verifies the time-stamps of a CMS message.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param message read by the library
   * @param result filled whatever the status: the time and the authority's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code result} does not decode
   *     to one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code message} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_TspBlkVerifyCmsMem(
    LocalIface context,
    tsp_verify_param_t param,
    mem_blk_t message,
    tsp_verify_result_t result
  ) throws CharConversionException;

  /**
   * Verifies the time-stamps of a PKCS#7 message.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param message read by the library
   * @param result filled whatever the status: the time and the authority's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code result} does not decode
   *     to one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code message} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_TspVerifyPkcs7Mem(
    LocalIface context,
    tsp_verify_param_t param,
    mem_blk_t message,
    tsp_verify_result_t result
  ) throws CharConversionException;

  /**
   * Verifies the time-stamps of a CMS file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param messageFile read by the library: the file to read
   * @param result filled whatever the status: the time and the authority's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code messageFile} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_TspBlkVerifyCmsFile(
    LocalIface context,
    tsp_verify_param_t param,
    String messageFile,
    tsp_verify_result_t result
  ) throws CharConversionException;

  /**
   * Verifies the time-stamps of a CMS file by streaming, in one call; no handle.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param messageFile read by the library: the file to read
   * @param result filled whatever the status: the time and the authority's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code messageFile} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_TspStrVerifyCmsFile(
    LocalIface context,
    tsp_verify_param_t param,
    String messageFile,
    tsp_verify_result_t result
  ) throws CharConversionException;

  /**
   * Verifies the time-stamps of a PKCS#7 file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param messageFile read by the library: the file to read
   * @param result filled whatever the status: the time and the authority's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code messageFile} holds a character that the narrow
   *     codeset writes with more than one byte ("jstring2string_t"; the library is not called), or
   *     if a text the library gives in {@code result} does not decode to one character per byte
   *     ("string_t2jstring", after the library's call)
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_TspVerifyPkcs7File(
    LocalIface context,
    tsp_verify_param_t param,
    String messageFile,
    tsp_verify_result_t result
  ) throws CharConversionException;

  /**
   * Obtains time-stamps from an authority and embeds them into a CMS message.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param url read by the library: the time-stamp authority's address; null or empty passes null
   * @param message read by the library
   * @param stamped filled whatever the status: the stamped message
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code url} holds a character that the narrow codeset writes
   *     with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code message} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_TspBlkUrlStampCmsMem(
    LocalIface context,
    tsp_request_param_t param,
    String url,
    mem_blk_t message,
    mem_blk_t stamped
  ) throws CharConversionException;

  /**
   * Obtains time-stamps from an authority and embeds them into a PKCS#7 message.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param url read by the library: the time-stamp authority's address; null or empty passes null
   * @param message read by the library
   * @param stamped filled whatever the status: the stamped message
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code url} holds a character that the narrow codeset writes
   *     with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code message} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_TspUrlStampPkcs7Mem(
    LocalIface context,
    tsp_request_param_t param,
    String url,
    mem_blk_t message,
    mem_blk_t stamped
  ) throws CharConversionException;

  /**
   * Obtains time-stamps from an authority and embeds them into a CMS file. The library writes the
   * output file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param url read by the library: the time-stamp authority's address; null or empty passes null
   * @param messageFile read by the library: the file to read
   * @param stampedFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code url}, {@code messageFile} or {@code stampedFile}
   *     holds a character that the narrow codeset writes with more than one byte
   *     ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_TspBlkUrlStampCmsFile(
    LocalIface context,
    tsp_request_param_t param,
    String url,
    String messageFile,
    String stampedFile
  ) throws CharConversionException;

  /**
   * Obtains time-stamps from an authority and embeds them into a CMS file, by streaming in one
   * call; no handle. The library writes the output file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param url read by the library: the time-stamp authority's address; null or empty passes null
   * @param messageFile read by the library: the file to read
   * @param stampedFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code url}, {@code messageFile} or {@code stampedFile}
   *     holds a character that the narrow codeset writes with more than one byte
   *     ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_TspStrUrlStampCmsFile(
    LocalIface context,
    tsp_request_param_t param,
    String url,
    String messageFile,
    String stampedFile
  ) throws CharConversionException;

  /**
   * Obtains time-stamps from an authority and embeds them into a PKCS#7 file. The library writes
   * the output file.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param url read by the library: the time-stamp authority's address; null or empty passes null
   * @param messageFile read by the library: the file to read
   * @param stampedFile read by the library: the file to write
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code url}, {@code messageFile} or {@code stampedFile}
   *     holds a character that the narrow codeset writes with more than one byte
   *     ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_TspUrlStampPkcs7File(
    LocalIface context,
    tsp_request_param_t param,
    String url,
    String messageFile,
    String stampedFile
  ) throws CharConversionException;

  /**
   * Opens a stream that time-stamps a CMS message through an authority.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param url read by the library: the time-stamp authority's address; null or empty passes null
   * @param message read by the library: the start of the message
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code url} holds a character that the narrow codeset writes
   *     with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code message} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_TspStrUrlStampCmsInitMem(
    LocalIface context,
    tsp_request_param_t param,
    String url,
    mem_blk_t message,
    Object stream
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Feeds a time-stamping stream one block and returns the output so far.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param url read by the library: the time-stamp authority's address; null or empty passes null
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param message read by the library: the next piece of the message
   * @param stamped filled whatever the status: the stamped output so far
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code url} holds a character that the narrow codeset writes
   *     with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code message} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_TspStrUrlStampCmsUpdateMem(
    LocalIface context,
    tsp_request_param_t param,
    String url,
    Object stream,
    mem_blk_t message,
    mem_blk_t stamped
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Finishes a time-stamping stream.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param url read by the library: the time-stamp authority's address; null or empty passes null
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param stamped filled whatever the status: the last output
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code url} holds a character that the narrow codeset writes
   *     with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_TspStrUrlStampCmsFinalMem(
    LocalIface context,
    tsp_request_param_t param,
    String url,
    Object stream,
    mem_blk_t stamped
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Opens a stream that verifies the time-stamps of a CMS message.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param message read by the library: the start of the message
   * @param stream handle, <a href="#init-rule">Init rule</a>: receives the new stream, 0 on failure
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code message} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_TspStrVerifyCmsInitMem(
    LocalIface context,
    tsp_verify_param_t param,
    mem_blk_t message,
    Object stream
  ) throws NoSuchFieldException;

  /**
   * Feeds a time-stamp verification stream one block.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#update-rule">Update rule</a>: read; 0 stored on failure
   * @param message read by the library: the next piece of the message
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code message} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_TspStrVerifyCmsUpdateMem(
    LocalIface context,
    tsp_verify_param_t param,
    Object stream,
    mem_blk_t message
  ) throws NoSuchFieldException;

  /**
   * Finishes a time-stamp verification stream and reports the time-stamp.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param stream handle, <a href="#final-rule">Final rule</a>: read; 0 stored whatever the status
   * @param result filled whatever the status: the time and the authority's certificate
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code result} does not decode
   *     to one character per byte ("string_t2jstring"), after the library's call
   * @throws NoSuchFieldException if the class of {@code stream} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "tsp_verify_result_t2jobject"
   */
  public static native int QUMENJNI_TspStrVerifyCmsFinalMem(
    LocalIface context,
    tsp_verify_param_t param,
    Object stream,
    tsp_verify_result_t result
  ) throws CharConversionException, NoSuchFieldException;

  // ---- OCSP ---------------------------------------------------------------------------------

  /**
   * Builds an OCSP request.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param input read by the library: what to ask about
   * @param request filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_OcspCreateRequest(
    LocalIface context,
    ocsp_request_param_t param,
    mem_blk_t input,
    mem_blk_t request
  );

  /**
   * Sends an OCSP request to a responder and returns its response.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param url read by the library: the responder's address; null or empty passes null
   * @param request read by the library
   * @param response filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code url} holds a character that the narrow codeset writes
   *     with more than one byte ("jstring2string_t"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code request} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_OcspUrlObtainResponse(
    LocalIface context,
    ocsp_request_param_t param,
    String url,
    mem_blk_t request,
    mem_blk_t response
  ) throws CharConversionException;

  /**
   * Signs an OCSP response as a responder.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param input read by the library
   * @param response filled whatever the status: the signed response
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code input} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_OcspSignResponse(
    LocalIface context,
    ocsp_response_param_t param,
    mem_blk_t input,
    mem_blk_t response
  );

  /**
   * Verifies an OCSP response and reports the certificate status it states.
   *
   * @param context holds the library's context
   * @param param read by the library; null passes an empty record
   * @param response read by the library
   * @param result filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if a text the library gives in {@code result} does not decode
   *     to one character per byte ("string_t2jstring"), after the library's call
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code response} exceeds the
   *     length of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_OcspVerifyResponse(
    LocalIface context,
    ocsp_verify_param_t param,
    mem_blk_t response,
    ocsp_verify_result_t result
  ) throws CharConversionException;

  // ---- TLS sessions (session: any object with a long field "handle") ------------------------

  /**
   * Creates a TLS session.
   *
   * @param context holds the library's context
   * @param name read by the library: a name whose meaning is the library's (for example the peer);
   *     null or empty passes null
   * @param session handle, <a href="#init-rule">Create rule</a>: receives the new session, 0 on
   *     failure
   * @param option read by the library, passed through unchanged
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws CharConversionException if {@code name} holds a character that the narrow codeset
   *     writes with more than one byte ("jstring2string_t"); the library is not called
   * @throws NoSuchFieldException if the class of {@code session} has no {@code long} field
   *     {@code handle} ("strhandle_t2jobject:handle"), after the library's call: the new handle is
   *     lost
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called); the message names the converter, such as "jstring2string_t"
   */
  public static native int QUMENJNI_TlsSessionCreate(
    LocalIface context,
    String name,
    Object session,
    int option
  ) throws CharConversionException, NoSuchFieldException;

  /**
   * Destroys a TLS session.
   *
   * @param context holds the library's context
   * @param session handle, <a href="#final-rule">Destroy rule</a>: read; 0 stored whatever the
   *     status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code session} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   */
  public static native int QUMENJNI_TlsSessionDestroy(LocalIface context, Object session)
    throws NoSuchFieldException;

  /**
   * Takes the peer's handshake bytes and returns the bytes to send.
   *
   * @param context holds the library's context
   * @param session handle: the session, read
   * @param received read by the library: the bytes received from the peer
   * @param toSend filled whatever the status: the bytes to send to the peer
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code session} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code received} exceeds the
   *     length of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_TlsSessionHandshake(
    LocalIface context,
    Object session,
    mem_blk_t received,
    mem_blk_t toSend
  ) throws NoSuchFieldException;

  /**
   * The library's completion step for a TLS session; its status is returned as it stands.
   *
   * @param context holds the library's context
   * @param session handle: the session, read
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code session} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   */
  public static native int QUMENJNI_TlsSessionComplete(LocalIface context, Object session)
    throws NoSuchFieldException;

  /**
   * Queries a property of a TLS session.
   *
   * @param context holds the library's context
   * @param session handle: the session, read
   * @param selector read by the library: what to query
   * @param answer filled whatever the status
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code session} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws OutOfMemoryError if memory runs out while the results are made, also when the library
   *     gives a negative length or count; the message names the converter, such as
   *     "mem_blk_t2jobject"
   */
  public static native int QUMENJNI_TlsSessionQuery(
    LocalIface context,
    Object session,
    int selector,
    mem_blk_t answer
  ) throws NoSuchFieldException;

  /**
   * Protects application bytes for sending.
   *
   * @param context holds the library's context
   * @param session handle: the session, read
   * @param plain read by the library: the application bytes
   * @param toSend filled whatever the status: the protected bytes to send
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code session} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code plain} exceeds the length
   *     of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_TlsSessionWrite(
    LocalIface context,
    Object session,
    mem_blk_t plain,
    mem_blk_t toSend
  ) throws NoSuchFieldException;

  /**
   * Unprotects bytes received from the peer.
   *
   * @param context holds the library's context
   * @param session handle: the session, read
   * @param received read by the library: the bytes received
   * @param plain filled whatever the status: the application bytes
   * @return 0, the library's failure code, {@link #PENDING_EXCEPTION} or a
   *     <a href="#statuses">fault code</a>
   * @throws NoSuchFieldException if the class of {@code session} has no {@code long} field
   *     {@code handle} ("jobject2strhandle_t:handle"); the library is not called
   * @throws NullPointerException if {@code context} is null ("jthis2context_t:self"); the library
   *     is not called
   * @throws ArrayIndexOutOfBoundsException if the {@code len} of {@code received} exceeds the
   *     length of its {@code buf} ("jobject2mem_blk_t:len"), before the library is called
   * @throws OutOfMemoryError if memory runs out while the arguments are copied (the library is then
   *     not called), or while the results are made, also when the library gives a negative length
   *     or count; the message names the converter, such as "jobject2mem_blk_t"
   */
  public static native int QUMENJNI_TlsSessionRead(
    LocalIface context,
    Object session,
    mem_blk_t received,
    mem_blk_t plain
  ) throws NoSuchFieldException;
}
