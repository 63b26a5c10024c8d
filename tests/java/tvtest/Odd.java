package tvtest;

/**
 * Record classes that lack a field, or carry one the bridge does not know: the converters find
 * fields on the class of the object they are given, so these reach every missing-field path.
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

  public static final class ParamNoLdap {
    public int flag;
    public String pse;
    public String localstore;
    public String pincode;
  }
}
