package tarvexjni;

import Norv1.LocalIface.basic_constraints_ex_t;
import java.util.Objects;

/**
 * A basic-constraints extension, as the library reads it.
 *
 * @param ca the certification-authority flag, the library's (0 for not a CA)
 * @param pathLength the path length constraint, the library's
 */
public record BasicConstraints(int ca, int pathLength) {
  /**
   * The constraints as {@code LocalIface} returned them, as this API returns them.
   *
   * @param record a basic-constraints record
   * @return the constraints
   */
  public static BasicConstraints from(basic_constraints_ex_t record) {
    Objects.requireNonNull(record, "record");
    return new BasicConstraints(record.ca, record.pathlen);
  }
}
