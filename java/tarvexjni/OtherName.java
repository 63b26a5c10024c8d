package tarvexjni;

/**
 * One otherName entry of an alternative-name extension.
 *
 * @param oid the entry's type identifier, as dotted OID text
 * @param name its value, as text
 */
public record OtherName(String oid, String name) {}
