package tvtest;

import Norv1.LocalIface;

/**
 * Message-information classes that lack one field of cms_msginf_t: the top record's converter
 * finds fields on the class of the object it is given, so these stop the conversion of a
 * message tree at a chosen point. (The nested records are always created from LocalIface's own
 * classes.)
 */
public final class MsgInf {
  private MsgInf() {}

  /** Everything but unprotAttrs, the last field converted. */
  public static final class NoUnprotAttrs {
    public int type;
    public int flags;
    public int signer_num;
    public LocalIface.cms_siginf_t[] signers;
    public int recipient_num;
    public LocalIface.cms_recinf_t[] recipients;
    public String cipherAlg;
    public int unprotAttr_num;
  }

  /** Everything but recipients, which only a message of type 2 needs. */
  public static final class NoRecipients {
    public int type;
    public int flags;
    public int signer_num;
    public LocalIface.cms_siginf_t[] signers;
    public int recipient_num;
    public String cipherAlg;
    public int unprotAttr_num;
    public String[] unprotAttrs;
  }
}
