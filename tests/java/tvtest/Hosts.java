package tvtest;

import Norv1.LocalIface;

/**
 * Host classes declared otherwise than LocalIface, for the bridge's check of its host's
 * declarations. Their native methods are never bound or called.
 */
public final class Hosts {

  private Hosts() {}

  /** A block parameter widened to Object. */
  public static final class Wider {

    private Wider() {}

    public static native int QUMENJNI_HashMem(
      LocalIface self,
      Object data,
      LocalIface.mem_blk_t hash
    );
  }

  /** The method as declared, and an overload beside it. */
  public static final class Overloaded {

    private Overloaded() {}

    public static native int QUMENJNI_HashMem(
      LocalIface self,
      LocalIface.mem_blk_t data,
      LocalIface.mem_blk_t hash
    );

    public static native int QUMENJNI_HashMem(LocalIface self, Object data);
  }

  /** As declared, with a native method the bridge does not implement. */
  public static final class Foreign {

    private Foreign() {}

    public static native int QUMENJNI_HashMem(
      LocalIface self,
      LocalIface.mem_blk_t data,
      LocalIface.mem_blk_t hash
    );

    public static native int somethingElse(LocalIface self);
  }

  /** Only some of the methods, as declared, and methods that are not native. */
  public static final class Partial {

    private Partial() {}

    public static native int QUMENJNI_HashMem(
      LocalIface self,
      LocalIface.mem_blk_t data,
      LocalIface.mem_blk_t hash
    );

    public static int hashMem(LocalIface self, Object data) {
      return 0;
    }
  }
}
