package Norv1;

/**
 * Java side of the tarvexjni bridge: every native method of the native cryptographic library
 * {@code tarvex}, reached through {@code libtarvexjni.so}.
 *
 * <p>An instance holds one native context in {@link #handle}: obtain it with one of the
 * initialisation methods, pass the instance first to every other method, end it with
 * {@link #QUMENJNI_Uninitialize}. Every method returns the library's 32-bit status (0 for
 * success, the library's own code otherwise) or one of the bridge's own:
 * {@link #PENDING_EXCEPTION} when the bridge raised a Java exception (the caller then sees the
 * exception), {@link #NO_BUFFER} when an intermediate buffer could not be had, or the code of a
 * machine fault caught inside the library (0xC0000005 for an access violation, and so on).
 *
 * <p>Streams, TLS sessions and store enumerations keep a second handle in the {@code long}
 * field {@code handle} of an object the caller passes to every call on it; any class with such
 * a field serves, {@link strhandle_t} is provided for it.
 *
 * <p>The record classes below are filled in place by the bridge: their field names and types
 * are the contract, and objects the bridge creates for nested results are made without running
 * a constructor.
 */
public final class LocalIface {
  static {
    tarvexjni.internal.NativeLoader.loadBridge();
  }

  /** A Java exception is pending: the call's outcome is the exception. */
  public static final int PENDING_EXCEPTION = 0xE0700001;
  /** The library returned no text for an error code (GetErrorText only; never returned). */
  public static final int NO_ERROR_TEXT = 0xE0700002;
  /** An intermediate buffer could not be allocated. */
  public static final int NO_BUFFER = 0xE0700006;

  /** The native context; 0 until an initialisation succeeds. */
  public long handle;

  // ---- Records -----------------------------------------------------------------------------

  /** A stream, TLS session or enumeration handle (any class with a long {@code handle}). */
  public static final class strhandle_t {
    public long handle;
  }

  /** A byte block: {@code len} bytes of {@code buf}. */
  public static final class mem_blk_t {
    public byte[] buf;
    public int len;

    public mem_blk_t() {}

    public mem_blk_t(byte[] buf) {
      this.buf = buf;
      this.len = buf == null ? 0 : buf.length;
    }

    /** The block's bytes, exactly {@code len} of them (empty for a null buffer). */
    public byte[] bytes() {
      if (buf == null || len <= 0) return new byte[0];
      return java.util.Arrays.copyOf(buf, Math.min(len, buf.length));
    }
  }

  public static final class local_param_t {
    public int flag;
    public String pse;
    public String localstore;
    public String ldap;
    public String pincode;
  }

  public static final class policy_t {
    public String oid;
    public String org_name;
    public int not_num;
    public String text;
  }

  public static final class extkeyusage_t {
    public String oid;
  }

  public static final class extension_t {
    public String oid;
    public int type;
    public int critical;
    public int len;
    public byte[] data;
  }

  public static final class altname_t {
    public String emailAddress;
    public String DNS;
    public String URI;
    public String IP;
    public String organizationName;
    public String registredAddress;
    public String surname;
    public String businessCategory;
    public String telephoneNumber;
    public String description;
    public String account_number;
    public String bank_id;
    public String physicalDelivery;
    public String exchange_address;
    public String notes_address;
  }

  public static final class certificate_t {
    public int fields;
    public String issuer;
    public String serialNumber;
    public String subject;
    public String algorithm;
    public long notBeforeEx;
    public long notAfterEx;
    public int keyUsage;
    public long notBeforePrivateEx;
    public long notAfterPrivateEx;
    public altname_t issuerAltName;
    public altname_t subjectAltName;
    public String keyId;
    public int policy_num;
    public policy_t[] policies;
    public int extkeyusage_num;
    public extkeyusage_t[] extKeyUsage;
    public int extension_num;
    public extension_t[] extensions;
    public mem_blk_t certEncoded;
    public mem_blk_t certHash;
  }

  public static final class sign_param_t {
    public int flag;
  }

  public static final class verify_param_t {
    public int flag;
    public int keyUsage;
    public int policy_num;
    public policy_t[] policies;
    public int extkeyusage_num;
    public extkeyusage_t[] extKeyUsage;
    public int extension_num;
    public extension_t[] extensions;
    public int nSignToDelete;
    public int minsigns;
    public int info;
  }

  public static final class verify_policy_param_t {
    public int flag;
    public long check_timeEx;
    public int keyusage;
    public int eku_num;
    public extkeyusage_t[] extkeyusages;
    public int policy_num;
    public policy_t[] policies;
  }

  public static final class verify_result_t {
    public int sign_num;
    public sign_status_t[] signs;
  }

  public static final class sign_status_t {
    public int status;
    public long timeEx;
    public certificate_t cert;
  }

  public static final class crl_t {
    public int fields;
    public String issuer;
    public long lastUpdateEx;
    public long nextUpdateEx;
    public int number;
    public int revcert_num;
    public revcert_t[] revcerts;
    public mem_blk_t crlEncoded;
    public mem_blk_t crlHash;
  }

  public static final class revcert_t {
    public String serialNumber;
    public long revtimeEx;
    public int reason;
  }

  public static final class altname_ex_t {
    public int othername_num;
    public othername_t[] othernames;
  }

  public static final class othername_t {
    public String oid;
    public String name;
  }

  public static final class basic_constraints_ex_t {
    public int ca;
    public int pathlen;
  }

  public static final class encrypt_param_t {
    public int flag;
    public int receiver_num;
    public certificate_t[] receivers;
  }

  public static final class decrypt_param_t {
    public int flag;
    public int info;
  }

  public static final class decrypt_result_t {
    public certificate_t sender;
  }

  public static final class issuer_and_serial_t {
    public String issuer;
    public String serialNumber;
  }

  /** One certificate identifier: the field that {@code type} (0 to 3) names is set. */
  public static final class certid_t {
    public int type;
    public issuer_and_serial_t ias;
    public String keyId;
    public mem_blk_t certHash;
    public String alias;
  }

  public static final class sign_info_t {
    public long timeEx;
    public certid_t certid;
  }

  public static final class signed_info_result_t {
    public int type;
    public int sign_num;
    public sign_info_t[] infos;
  }

  public static final class encrypted_info_result_t {
    public int type;
    public int recipients_num;
    public certid_t[] recipients;
    public certid_t sender;
  }

  public static final class pkcs7_info_t {
    public int type;
    public int signer_num;
    public pkcs7_signer_t[] signers;
    public String dataCipher;
    public int recipient_num;
    public pkcs7_recipient_t[] recipients;
  }

  public static final class pkcs7_signer_t {
    public String digest;
    public String encryption;
    public issuer_and_serial_t signer;
    public int authAttr_num;
    public String[] authAttrs;
    public int unauthAttr_num;
    public String[] unauthAttrs;
  }

  public static final class pkcs7_recipient_t {
    public String publicKey;
    public issuer_and_serial_t recipient;
  }

  public static final class import_param_t {
    public int flag;
  }

  public static final class export_param_t {
    public int flag;
  }

  public static final class add_param_t {
    public int flag;
  }

  public static final class find_param_t {
    public int flag;
    public certificate_t certTemplate;
    public int info;
  }

  public static final class find_result_t {
    public int num;
    public certificate_t[] certs;
  }

  public static final class tsp_request_param_t {
    public int flag;
    public int index;
  }

  public static final class tsp_response_param_t {
    public int flag;
  }

  public static final class tsp_verify_param_t {
    public int flag;
    public int index;
    public int info;
  }

  public static final class tsp_verify_result_t {
    public long timeEx;
    public certificate_t cert;
  }

  public static final class ocsp_request_param_t {
    public int flag;
  }

  public static final class ocsp_response_param_t {
    public int flag;
  }

  public static final class ocsp_verify_param_t {
    public int flag;
    public int info;
  }

  public static final class ocsp_verify_result_t {
    public int status;
    public int reason;
    public long revtimeEx;
    public long thisupdEx;
    public long nextupdEx;
    public certificate_t cert;
  }

  /** A CMS certificate identifier: type 1 sets issuer, serialNum, certHash; type 2 subjKeyId. */
  public static final class cms_certid_t {
    public int type;
    public String issuer;
    public String subjKeyId;
    public String serialNum;
    public String certHash;
  }

  public static final class cms_siginf_t {
    public int version;
    public String digestAlg;
    public String signatureAlg;
    public cms_certid_t signerId;
    public long signingTimeEx;
    public int authAttr_num;
    public String[] authAttrs;
    public int unauthAttr_num;
    public String[] unauthAttrs;
  }

  public static final class cms_recinf_t {
    public int type;
    public int index;
    public int version;
    public cms_certid_t originatorId;
    public String publicKeyAlg;
    public String cipherAlg;
    public cms_certid_t recipientId;
  }

  /** CMS message information: type 1 fills the signers, type 2 the recipients. */
  public static final class cms_msginf_t {
    public int type;
    public int flags;
    public int signer_num;
    public cms_siginf_t[] signers;
    public int recipient_num;
    public cms_recinf_t[] recipients;
    public String cipherAlg;
    public int unprotAttr_num;
    public String[] unprotAttrs;
  }

  // ---- Library lifecycle ---------------------------------------------------------------------

  public static native int QUMENJNI_Initialize(LocalIface self, String name, int value);
  public static native int QUMENJNI_InitializeEx(LocalIface self, int value, local_param_t param);
  public static native int QUMENJNI_InitMinimal(LocalIface self);
  public static native int QUMENJNI_Uninitialize(LocalIface self);

  // ---- Diagnostics and utilities -------------------------------------------------------------

  public static native String QUMENJNI_GetErrorText(LocalIface self, int code);
  public static native int QUMENJNI_GetErrorLineEx(LocalIface self, mem_blk_t a, mem_blk_t b, int[] c, mem_blk_t d);
  public static native int QUMENJNI_GenRandom(LocalIface self, int count, mem_blk_t out);
  public static native int QUMENJNI_EncodeMem(LocalIface self, byte[] first, byte[] second, int length);
  public static native int QUMENJNI_DecodeMem(LocalIface self, byte[] first, byte[] second, int length);
  public static native int QUMENJNI_UpdateCRLs(LocalIface self);
  public static native int QUMENJNI_ExportToSystemStore(LocalIface self, int value);
  public static native int QUMENJNI_ControlEx(LocalIface self, long value, int selector, mem_blk_t in, mem_blk_t out, int option);

  // ---- Hashing and one-shot signing ----------------------------------------------------------

  public static native int QUMENJNI_HashMem(LocalIface self, mem_blk_t data, mem_blk_t hash);
  public static native int QUMENJNI_HashFile(LocalIface self, String name, mem_blk_t hash);
  public static native int QUMENJNI_BlkHashMem(LocalIface self, String text, mem_blk_t data, mem_blk_t hash);
  public static native int QUMENJNI_BlkHashFile(LocalIface self, String text, String name, mem_blk_t hash);
  public static native int QUMENJNI_SignMem(LocalIface self, sign_param_t param, mem_blk_t in1, mem_blk_t in2, mem_blk_t result);
  public static native int QUMENJNI_SignFile(LocalIface self, sign_param_t param, String name1, String name2, String name3);
  public static native int QUMENJNI_VerifyMem(LocalIface self, verify_param_t param, mem_blk_t in1, mem_blk_t in2, mem_blk_t out, verify_result_t result);
  public static native int QUMENJNI_VerifyFile(LocalIface self, verify_param_t param, String name1, String name2, String name3, verify_result_t result);
  public static native int QUMENJNI_SignHashMem(LocalIface self, Object unused, mem_blk_t in, mem_blk_t result);
  public static native int QUMENJNI_VerifyHashMem(LocalIface self, Object unused, mem_blk_t in1, mem_blk_t in2, mem_blk_t in3);

  // ---- Certificate and CRL inspection --------------------------------------------------------

  public static native int QUMENJNI_ParseCert(LocalIface self, mem_blk_t encoded, int flag, certificate_t cert);
  public static native int QUMENJNI_VerifyCert(LocalIface self, verify_param_t param, mem_blk_t encoded, certificate_t cert);
  public static native int QUMENJNI_VerifyCertificatePolicy(LocalIface self, verify_policy_param_t param, mem_blk_t encoded);
  public static native int QUMENJNI_ParseCrl(LocalIface self, mem_blk_t encoded, int flag, crl_t crl);
  public static native int QUMENJNI_VerifyCrlPolicy(LocalIface self, verify_policy_param_t param, mem_blk_t encoded);
  public static native int QUMENJNI_ParseAltnameEx(LocalIface self, mem_blk_t encoded, altname_ex_t altname);
  public static native int QUMENJNI_ParseBasicConstraintsEx(LocalIface self, mem_blk_t encoded, basic_constraints_ex_t constraints);
  public static native int QUMENJNI_ParseKeyIdentifierEx(LocalIface self, mem_blk_t encoded, mem_blk_t keyId);
  public static native int QUMENJNI_ShowCertificate(LocalIface self, mem_blk_t encoded);
  public static native int QUMENJNI_ShowCrl(LocalIface self, mem_blk_t encoded);
  public static native int QUMENJNI_ShowCertificateEx(LocalIface self, long value, mem_blk_t encoded);
  public static native int QUMENJNI_ShowCrlEx(LocalIface self, long value, mem_blk_t encoded);
  public static native int QUMENJNI_ShowRequestEx(LocalIface self, long value, mem_blk_t encoded);
  public static native int QUMENJNI_ShowRevocationEx(LocalIface self, long value, mem_blk_t encoded);
  public static native int QUMENJNI_CreateXmlRequest(LocalIface self, int flag, certificate_t cert, mem_blk_t request);

  // ---- PKCS#7 envelopes ----------------------------------------------------------------------

  public static native int QUMENJNI_EncryptMem(LocalIface self, encrypt_param_t param, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_EncryptFile(LocalIface self, encrypt_param_t param, String in, String out);
  public static native int QUMENJNI_DecryptMem(LocalIface self, decrypt_param_t param, mem_blk_t in, mem_blk_t out, decrypt_result_t result);
  public static native int QUMENJNI_DecryptFile(LocalIface self, decrypt_param_t param, String in, String out, decrypt_result_t result);
  public static native int QUMENJNI_SignedInfoMem(LocalIface self, mem_blk_t in, signed_info_result_t result);
  public static native int QUMENJNI_SignedInfoFile(LocalIface self, String in, signed_info_result_t result);
  public static native int QUMENJNI_EncryptedInfoMem(LocalIface self, mem_blk_t in, encrypted_info_result_t result);
  public static native int QUMENJNI_EncryptedInfoFile(LocalIface self, String in, encrypted_info_result_t result);
  public static native int QUMENJNI_AttachSignMem(LocalIface self, mem_blk_t in, mem_blk_t in2, mem_blk_t out);
  public static native int QUMENJNI_AttachSignFile(LocalIface self, String in, String in2, String out);
  public static native int QUMENJNI_DetachSignMem(LocalIface self, mem_blk_t in, mem_blk_t out, mem_blk_t out2);
  public static native int QUMENJNI_DetachSignFile(LocalIface self, String in, String out, String out2);
  public static native int QUMENJNI_VerifyAndSignMem(LocalIface self, verify_param_t verify, sign_param_t sign, mem_blk_t in, mem_blk_t in2, mem_blk_t out, verify_result_t result);
  public static native int QUMENJNI_VerifyAndSignFile(LocalIface self, verify_param_t verify, sign_param_t sign, String in, String in2, String out, verify_result_t result);
  public static native int QUMENJNI_SignAndEncryptMem(LocalIface self, sign_param_t sign, encrypt_param_t encrypt, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_SignAndEncryptFile(LocalIface self, sign_param_t sign, encrypt_param_t encrypt, String in, String out);
  public static native int QUMENJNI_DecryptAndVerifyMem(LocalIface self, decrypt_param_t decrypt, verify_param_t verify, mem_blk_t in, mem_blk_t out, decrypt_result_t result, verify_result_t verifyResult);
  public static native int QUMENJNI_DecryptAndVerifyFile(LocalIface self, decrypt_param_t decrypt, verify_param_t verify, String in, String out, decrypt_result_t result, verify_result_t verifyResult);
  public static native int QUMENJNI_GetPkcs7InfoMem(LocalIface self, mem_blk_t in, pkcs7_info_t info);
  public static native int QUMENJNI_GetPkcs7InfoFile(LocalIface self, String in, pkcs7_info_t info);

  // ---- Streaming (h: any object with a long field "handle") -----------------------------------

  public static native int QUMENJNI_StrHashInitMem(LocalIface self, String a, Object h);
  public static native int QUMENJNI_StrHashUpdateMem(LocalIface self, Object h, mem_blk_t in);
  public static native int QUMENJNI_StrHashFinalMem(LocalIface self, Object h, mem_blk_t out);
  public static native int QUMENJNI_StrHashFile(LocalIface self, String a, String in, mem_blk_t out);
  public static native int QUMENJNI_StrSignInitMem(LocalIface self, sign_param_t param, mem_blk_t in, Object h);
  public static native int QUMENJNI_StrSignUpdateMem(LocalIface self, sign_param_t param, Object h, mem_blk_t in);
  public static native int QUMENJNI_StrSignFinalMem(LocalIface self, sign_param_t param, Object h, mem_blk_t out);
  public static native int QUMENJNI_StrSignFile(LocalIface self, sign_param_t param, String in, String in2, String out);
  public static native int QUMENJNI_StrVerifyInitMem(LocalIface self, verify_param_t param, mem_blk_t in, Object h);
  public static native int QUMENJNI_StrVerifyUpdateMem(LocalIface self, verify_param_t param, Object h, mem_blk_t in);
  public static native int QUMENJNI_StrVerifyFinalMem(LocalIface self, verify_param_t param, Object h, mem_blk_t out, verify_result_t result);
  public static native int QUMENJNI_StrVerifyFile(LocalIface self, verify_param_t param, String in, String in2, String out, verify_result_t result);
  public static native int QUMENJNI_StrEncryptInitMem(LocalIface self, encrypt_param_t param, Object h);
  public static native int QUMENJNI_StrEncryptUpdateMem(LocalIface self, encrypt_param_t param, Object h, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_StrEncryptFinalMem(LocalIface self, encrypt_param_t param, Object h, mem_blk_t out);
  public static native int QUMENJNI_StrEncryptFile(LocalIface self, encrypt_param_t param, String in, String out);
  public static native int QUMENJNI_StrDecryptInitMem(LocalIface self, decrypt_param_t param, mem_blk_t in, int[] state, Object h);
  public static native int QUMENJNI_StrDecryptUpdateMem(LocalIface self, decrypt_param_t param, Object h, mem_blk_t in, int[] state, mem_blk_t out);
  public static native int QUMENJNI_StrDecryptFinalMem(LocalIface self, decrypt_param_t param, Object h, decrypt_result_t result);
  public static native int QUMENJNI_StrDecryptFile(LocalIface self, decrypt_param_t param, String in, String out, decrypt_result_t result);
  public static native int QUMENJNI_StrEncryptedInfoMem(LocalIface self, mem_blk_t in, encrypted_info_result_t result);
  public static native int QUMENJNI_StrEncryptedInfoFile(LocalIface self, String in, encrypted_info_result_t result);

  // ---- CMS -----------------------------------------------------------------------------------

  public static native int QUMENJNI_CmsBlkAttSignMem(LocalIface self, sign_param_t param, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_CmsBlkAttSignFile(LocalIface self, sign_param_t param, String in, String out);
  public static native int QUMENJNI_CmsStrAttSignInitMem(LocalIface self, sign_param_t param, mem_blk_t in, Object h);
  public static native int QUMENJNI_CmsStrAttSignUpdateMem(LocalIface self, sign_param_t param, Object h, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_CmsStrAttSignFinalMem(LocalIface self, sign_param_t param, Object h, mem_blk_t out);
  public static native int QUMENJNI_CmsStrAttSignFile(LocalIface self, sign_param_t param, String in, String out);
  public static native int QUMENJNI_CmsBlkDetSignMem(LocalIface self, sign_param_t param, mem_blk_t in, mem_blk_t in2, mem_blk_t out);
  public static native int QUMENJNI_CmsBlkDetSignFile(LocalIface self, sign_param_t param, String in, String in2, String out);
  public static native int QUMENJNI_CmsStrDetSignInitMem(LocalIface self, sign_param_t param, mem_blk_t in, Object h);
  public static native int QUMENJNI_CmsStrDetSignUpdateMem(LocalIface self, sign_param_t param, Object h, mem_blk_t in);
  public static native int QUMENJNI_CmsStrDetSignFinalMem(LocalIface self, sign_param_t param, Object h, mem_blk_t out);
  public static native int QUMENJNI_CmsStrDetSignFile(LocalIface self, sign_param_t param, String in, String in2, String out);
  public static native int QUMENJNI_CmsBlkAttVerifyMem(LocalIface self, verify_param_t param, mem_blk_t in, mem_blk_t out, verify_result_t result);
  public static native int QUMENJNI_CmsBlkAttVerifyFile(LocalIface self, verify_param_t param, String in, String out, verify_result_t result);
  public static native int QUMENJNI_CmsStrAttVerifyInitMem(LocalIface self, verify_param_t param, mem_blk_t in, Object h);
  public static native int QUMENJNI_CmsStrAttVerifyUpdateMem(LocalIface self, verify_param_t param, Object h, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_CmsStrAttVerifyFinalMem(LocalIface self, verify_param_t param, Object h, mem_blk_t out, verify_result_t result);
  public static native int QUMENJNI_CmsStrAttVerifyFile(LocalIface self, verify_param_t param, String in, String out, verify_result_t result);
  public static native int QUMENJNI_CmsBlkDetVerifyMem(LocalIface self, verify_param_t param, mem_blk_t in, mem_blk_t in2, mem_blk_t out, verify_result_t result);
  public static native int QUMENJNI_CmsBlkDetVerifyFile(LocalIface self, verify_param_t param, String in, String in2, String out, verify_result_t result);
  public static native int QUMENJNI_CmsStrDetVerifyInitMem(LocalIface self, verify_param_t param, mem_blk_t in, Object h);
  public static native int QUMENJNI_CmsStrDetVerifyUpdateMem(LocalIface self, verify_param_t param, Object h, mem_blk_t in);
  public static native int QUMENJNI_CmsStrDetVerifyFinalMem(LocalIface self, verify_param_t param, Object h, mem_blk_t out, verify_result_t result);
  public static native int QUMENJNI_CmsStrDetVerifyFile(LocalIface self, verify_param_t param, String in, String in2, String out, verify_result_t result);
  public static native int QUMENJNI_CmsBlkEncryptMem(LocalIface self, encrypt_param_t param, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_CmsBlkEncryptFile(LocalIface self, encrypt_param_t param, String in, String out);
  public static native int QUMENJNI_CmsStrEncryptInitMem(LocalIface self, encrypt_param_t param, mem_blk_t in, Object h);
  public static native int QUMENJNI_CmsStrEncryptUpdateMem(LocalIface self, encrypt_param_t param, Object h, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_CmsStrEncryptFinalMem(LocalIface self, encrypt_param_t param, Object h, mem_blk_t out);
  public static native int QUMENJNI_CmsStrEncryptFile(LocalIface self, encrypt_param_t param, String in, String out);
  public static native int QUMENJNI_CmsBlkDecryptMem(LocalIface self, decrypt_param_t param, mem_blk_t in, mem_blk_t out, decrypt_result_t result);
  public static native int QUMENJNI_CmsBlkDecryptFile(LocalIface self, decrypt_param_t param, String in, String out, decrypt_result_t result);
  public static native int QUMENJNI_CmsStrDecryptInitMem(LocalIface self, decrypt_param_t param, mem_blk_t in, Object h);
  public static native int QUMENJNI_CmsStrDecryptUpdateMem(LocalIface self, decrypt_param_t param, Object h, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_CmsStrDecryptFinalMem(LocalIface self, decrypt_param_t param, Object h, mem_blk_t out, decrypt_result_t result);
  public static native int QUMENJNI_CmsStrDecryptFile(LocalIface self, decrypt_param_t param, String in, String out, decrypt_result_t result);
  public static native int QUMENJNI_CmsBlkSignAttachMem(LocalIface self, mem_blk_t in, mem_blk_t in2, mem_blk_t out, int value);
  public static native int QUMENJNI_CmsBlkSignAttachFile(LocalIface self, String in, String in2, String out, int value);
  public static native int QUMENJNI_CmsBlkSignDetachMem(LocalIface self, mem_blk_t in, mem_blk_t out, mem_blk_t out2, int value);
  public static native int QUMENJNI_CmsBlkSignDetachFile(LocalIface self, String in, String out, String out2, int value);
  public static native int QUMENJNI_CmsStrSignDetachInitMem(LocalIface self, mem_blk_t in, Object h, int value);
  public static native int QUMENJNI_CmsStrSignDetachUpdateMem(LocalIface self, Object h, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_CmsStrSignDetachFinalMem(LocalIface self, Object h, mem_blk_t out, mem_blk_t out2);
  public static native int QUMENJNI_CmsStrSignDetachFile(LocalIface self, String in, String out, String out2, int value);
  public static native int QUMENJNI_CmsBlkMsgInfMem(LocalIface self, mem_blk_t in, cms_msginf_t info, int value);
  public static native int QUMENJNI_CmsBlkMsgInfFile(LocalIface self, String in, cms_msginf_t info, int value);
  public static native int QUMENJNI_CmsStrMsgInfInitMem(LocalIface self, mem_blk_t in, Object h, int value);
  public static native int QUMENJNI_CmsStrMsgInfUpdateMem(LocalIface self, Object h, mem_blk_t in);
  public static native int QUMENJNI_CmsStrMsgInfFinalMem(LocalIface self, Object h, cms_msginf_t info);
  public static native int QUMENJNI_CmsStrMsgInfFile(LocalIface self, String in, cms_msginf_t info, int value);

  // ---- Stores and profiles -------------------------------------------------------------------

  public static native int QUMENJNI_ImportMem(LocalIface self, import_param_t param, mem_blk_t data);
  public static native int QUMENJNI_ImportFile(LocalIface self, import_param_t param, String name);
  public static native int QUMENJNI_ExportMem(LocalIface self, export_param_t param, mem_blk_t out);
  public static native int QUMENJNI_ExportFile(LocalIface self, export_param_t param, String name);
  public static native int QUMENJNI_FindCert(LocalIface self, find_param_t param, find_result_t result);
  public static native int QUMENJNI_AddCertificate(LocalIface self, add_param_t param, mem_blk_t cert);
  public static native int QUMENJNI_AddCRL(LocalIface self, add_param_t param, mem_blk_t crl);
  public static native int QUMENJNI_EnumStoreObjects(LocalIface self, Object unused, Object h, mem_blk_t out, int options);
  public static native int QUMENJNI_EnumStoreObjectsEx(LocalIface self, Object unused, String text1, String text2, Object h, mem_blk_t out, int options);
  public static native int QUMENJNI_IssueCertificateStore(LocalIface self, mem_blk_t data, String text1, String text2);
  public static native int QUMENJNI_CreateCertificateStore(LocalIface self, mem_blk_t[] blocks1, int count1, mem_blk_t[] blocks2, int count2, String text1, String text2, int options);
  public static native int QUMENJNI_CreateRegistryProfile(LocalIface self, String text1, String text2, int value);
  public static native int QUMENJNI_CreateRegistryProfileEx(LocalIface self, String text1, String text2, String text3, String text4, int value);
  public static native int QUMENJNI_QueryRegistryProfile(LocalIface self, String[] out, int size, int selector);
  public static native int QUMENJNI_QueryRegistryProfileEx(LocalIface self, mem_blk_t out1, mem_blk_t out2, mem_blk_t out3, mem_blk_t out4, int selector);

  // ---- Time stamps ---------------------------------------------------------------------------

  public static native int QUMENJNI_TspBlkRequestFromCmsMem(LocalIface self, tsp_request_param_t param, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_TspRequestFromPkcs7(LocalIface self, tsp_request_param_t param, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_TspBlkRequestFromCmsFile(LocalIface self, tsp_request_param_t param, String in, mem_blk_t out);
  public static native int QUMENJNI_TspSignResponse(LocalIface self, tsp_response_param_t param, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_TspVerifyResponse(LocalIface self, tsp_verify_param_t param, mem_blk_t in, tsp_verify_result_t result);
  public static native int QUMENJNI_TspBlkVerifyCmsMem(LocalIface self, tsp_verify_param_t param, mem_blk_t in, tsp_verify_result_t result);
  public static native int QUMENJNI_TspVerifyPkcs7Mem(LocalIface self, tsp_verify_param_t param, mem_blk_t in, tsp_verify_result_t result);
  public static native int QUMENJNI_TspBlkVerifyCmsFile(LocalIface self, tsp_verify_param_t param, String in, tsp_verify_result_t result);
  public static native int QUMENJNI_TspStrVerifyCmsFile(LocalIface self, tsp_verify_param_t param, String in, tsp_verify_result_t result);
  public static native int QUMENJNI_TspVerifyPkcs7File(LocalIface self, tsp_verify_param_t param, String in, tsp_verify_result_t result);
  public static native int QUMENJNI_TspBlkUrlStampCmsMem(LocalIface self, tsp_request_param_t param, String url, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_TspUrlStampPkcs7Mem(LocalIface self, tsp_request_param_t param, String url, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_TspBlkUrlStampCmsFile(LocalIface self, tsp_request_param_t param, String url, String in, String out);
  public static native int QUMENJNI_TspStrUrlStampCmsFile(LocalIface self, tsp_request_param_t param, String url, String in, String out);
  public static native int QUMENJNI_TspUrlStampPkcs7File(LocalIface self, tsp_request_param_t param, String url, String in, String out);
  public static native int QUMENJNI_TspStrUrlStampCmsInitMem(LocalIface self, tsp_request_param_t param, String url, mem_blk_t in, Object h);
  public static native int QUMENJNI_TspStrUrlStampCmsUpdateMem(LocalIface self, tsp_request_param_t param, String url, Object h, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_TspStrUrlStampCmsFinalMem(LocalIface self, tsp_request_param_t param, String url, Object h, mem_blk_t out);
  public static native int QUMENJNI_TspStrVerifyCmsInitMem(LocalIface self, tsp_verify_param_t param, mem_blk_t in, Object h);
  public static native int QUMENJNI_TspStrVerifyCmsUpdateMem(LocalIface self, tsp_verify_param_t param, Object h, mem_blk_t in);
  public static native int QUMENJNI_TspStrVerifyCmsFinalMem(LocalIface self, tsp_verify_param_t param, Object h, tsp_verify_result_t result);

  // ---- OCSP ----------------------------------------------------------------------------------

  public static native int QUMENJNI_OcspCreateRequest(LocalIface self, ocsp_request_param_t param, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_OcspUrlObtainResponse(LocalIface self, ocsp_request_param_t param, String url, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_OcspSignResponse(LocalIface self, ocsp_response_param_t param, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_OcspVerifyResponse(LocalIface self, ocsp_verify_param_t param, mem_blk_t in, ocsp_verify_result_t result);

  // ---- TLS sessions (session: any object with a long field "handle") -------------------------

  public static native int QUMENJNI_TlsSessionCreate(LocalIface self, String text, Object session, int value);
  public static native int QUMENJNI_TlsSessionDestroy(LocalIface self, Object session);
  public static native int QUMENJNI_TlsSessionHandshake(LocalIface self, Object session, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_TlsSessionComplete(LocalIface self, Object session);
  public static native int QUMENJNI_TlsSessionQuery(LocalIface self, Object session, int selector, mem_blk_t out);
  public static native int QUMENJNI_TlsSessionWrite(LocalIface self, Object session, mem_blk_t in, mem_blk_t out);
  public static native int QUMENJNI_TlsSessionRead(LocalIface self, Object session, mem_blk_t in, mem_blk_t out);
}
