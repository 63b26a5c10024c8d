package tarvexjni;

import static tarvexjni.Records.text;

import Norv1.LocalIface.othername_t;
import java.util.Objects;

/**
 * One otherName entry of an alternative-name extension; a text the library left empty is
 * {@code ""}.
 *
 * @param oid the entry's type identifier, as dotted OID text
 * @param name its value, as text
 */
public record OtherName(String oid, String name) {
  /**
   * Makes the record; a null text is taken as {@code ""}.
   *
   * @param oid the entry's type identifier, as dotted OID text
   * @param name its value, as text
   */
  public OtherName {
    oid = text(oid);
    name = text(name);
  }

  /**
   * The entry as {@code LocalIface} returned it (an element of {@code altname_ex_t.othernames}),
   * as this API returns it.
   *
   * @param record an otherName record
   * @return the entry
   */
  public static OtherName from(othername_t record) {
    Objects.requireNonNull(record, "record");
    return new OtherName(record.oid, record.name);
  }
}
