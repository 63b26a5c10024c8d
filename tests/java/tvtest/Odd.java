package tvtest;

import Norv1.LocalIface;

/**
 * Record-shaped classes that lack a field, or carry one of another type: the converters find
 * fields on the class of the object they are given, so these stop a conversion at a chosen field.
 */
public final class Odd {

  private Odd() {}

  public static final class BlockNoLen {

    public byte[] buf;
  }

  public static final class BlockNoBuf {

    public int len;
  }

  /** A block-shaped class of the caller's own: accepted like mem_blk_t. */
  public static class OwnBlock {

    public int len;
    public byte[] buf;
  }

  /** A subclass that shadows buf: its fields are its own, not mem_blk_t's. */
  public static final class ShadowBlock extends OwnBlock {

    public byte[] buf;
  }

  public static final class Handle {

    public long handle;
  }

  public static final class NoHandle {

    public int handle;
  }

  /** A sign_param_t whose flag is a long, not an int. */
  public static final class SignParamLongFlag {

    public long flag;
  }

  /** A decrypt_result_t whose sender is not a certificate_t. */
  public static final class DecryptResultNoSender {

    public int sender;
  }

  /** A cms_msginf_t without unprotAttrs, the last field converted. */
  public static final class MsgInfNoUnprotAttrs {

    public int type;
    public int flags;
    public int signer_num;
    public LocalIface.cms_siginf_t[] signers;
    public int recipient_num;
    public LocalIface.cms_recinf_t[] recipients;
    public String cipherAlg;
    public int unprotAttr_num;
  }

  /** A cms_msginf_t without recipients, which only a message of type 2 needs. */
  public static final class MsgInfNoRecipients {

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
