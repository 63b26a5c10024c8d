package tvtest;

import Norv1.LocalIface;

/**
 * Builders of large record arrays, made on the Java side so that the test code itself holds no
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
}
