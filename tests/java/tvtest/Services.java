package tvtest;

import Norv1.LocalIface;

/**
 * Store, time-stamp and OCSP record shapes that lack one field: the converters find fields on
 * the class of the object they are given, so these stop a conversion at a chosen field.
 */
public final class Services {
  private Services() {}

  /** A find_result_t without certs: num is stored, then the conversion stops. */
  public static final class FindResultNoCerts {
    public int num;
  }

  /** A tsp_verify_param_t without info. */
  public static final class TspVerifyParamNoInfo {
    public int flag;
    public int index;
  }

  /** A tsp_verify_result_t without cert. */
  public static final class TspVerifyResultNoCert {
    public long timeEx;
  }

  /** An ocsp_verify_result_t without nextupdEx. */
  public static final class OcspVerifyResultNoNextupd {
    public int status;
    public int reason;
    public long revtimeEx;
    public long thisupdEx;
    public LocalIface.certificate_t cert;
  }
}
