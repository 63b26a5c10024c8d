package tvtest;

import Norv1.LocalIface;

/**
 * Record-shaped classes that lack one field (the converters find fields on the class of the
 * object they are given, so these reach the missing-field paths of the record converters), and
 * builders of large record arrays, made on the Java side so that the test code itself holds no
 * more than one local reference for them.
 */
public final class Records {
  private Records() {}

  /** n policies: oid "1.2.840.i", org_name "org i", not_num i, no text. */
  public static LocalIface.policy_t[] policies(int n) {
    LocalIface.policy_t[] out = new LocalIface.policy_t[n];
    for (int i = 0; i < n; i++) {
      LocalIface.policy_t p = new LocalIface.policy_t();
      p.oid = "1.2.840." + i;
      p.org_name = "org " + i;
      p.not_num = i;
      out[i] = p;
    }
    return out;
  }

  /** n extended key usages: oid "1.3.6.i". */
  public static LocalIface.extkeyusage_t[] extKeyUsages(int n) {
    LocalIface.extkeyusage_t[] out = new LocalIface.extkeyusage_t[n];
    for (int i = 0; i < n; i++) {
      out[i] = new LocalIface.extkeyusage_t();
      out[i].oid = "1.3.6." + i;
    }
    return out;
  }

  /** A verify_result_t without signs. */
  public static final class ResultNoSigns {
    public int sign_num;
  }

  /** A sign_param_t whose flag is a long, not an int. */
  public static final class SignParamLongFlag {
    public long flag;
  }

  /** A verify_param_t without minsigns. */
  public static final class VerifyParamNoMinsigns {
    public int flag;
    public int keyUsage;
    public int policy_num;
    public LocalIface.policy_t[] policies;
    public int extkeyusage_num;
    public LocalIface.extkeyusage_t[] extKeyUsage;
    public int extension_num;
    public LocalIface.extension_t[] extensions;
    public int nSignToDelete;
    public int info;
  }

  /** A certificate_t without keyUsage. */
  public static final class CertificateNoKeyUsage {
    public int fields;
    public String issuer;
    public String serialNumber;
    public String subject;
    public String algorithm;
    public long notBeforeEx;
    public long notAfterEx;
    public long notBeforePrivateEx;
    public long notAfterPrivateEx;
    public LocalIface.altname_t issuerAltName;
    public LocalIface.altname_t subjectAltName;
    public String keyId;
    public int policy_num;
    public LocalIface.policy_t[] policies;
    public int extkeyusage_num;
    public LocalIface.extkeyusage_t[] extKeyUsage;
    public int extension_num;
    public LocalIface.extension_t[] extensions;
    public LocalIface.mem_blk_t certEncoded;
    public LocalIface.mem_blk_t certHash;
  }
}
