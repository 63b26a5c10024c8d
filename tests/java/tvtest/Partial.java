package tvtest;

/**
 * Result-shaped classes of the inspection and envelope records that lack one field: the
 * converters look fields up on the class of the object they are given, so these stop a result
 * conversion at a chosen point.
 */
public final class Partial {
  private Partial() {}

  /** A basic_constraints_ex_t without pathlen: ca is stored, then the conversion stops. */
  public static final class ConstraintsNoPathlen {
    public int ca;
  }

  /** A decrypt_result_t without sender. */
  public static final class DecryptResultNoSender {
    public int sender;
  }
}
